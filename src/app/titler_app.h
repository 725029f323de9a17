// The application object: names the program, creates the progress window, and
// runs the main window modally; the program ends when that window closes.
#pragma once

#include <QApplication>

#include "window/titler_logic.h"

namespace vrellix {

class CTitlerApp : public QApplication {
  Q_OBJECT

 public:
  // options: as the command line asked (ReadProgramArguments).
  CTitlerApp(int& argc, char** argv, const TitlerOptions& options);

  // Runs the whole program. Returns false: there is no event loop after the
  // main window has closed.
  bool InitInstance();

 private:
  TitlerOptions m_options;
};

}  // namespace vrellix
