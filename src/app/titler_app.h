// The application object: names the program, creates the progress window, and
// runs the main window modally; the program ends when that window closes.
#pragma once

#include <QApplication>

namespace vrellix {

class CTitlerApp : public QApplication {
  Q_OBJECT

 public:
  CTitlerApp(int& argc, char** argv);

  // Runs the whole program. Returns false: there is no event loop after the
  // main window has closed.
  bool InitInstance();

 private:
  bool m_bSimulate = false;
};

}  // namespace vrellix
