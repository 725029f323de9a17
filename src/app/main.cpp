// vrellix: the window program. `vrellix --simulate` types into the built-in
// device simulator instead of the serial port.
#include "app/titler_app.h"

int main(int argc, char** argv) {
  vrellix::CTitlerApp app(argc, argv);
  app.InitInstance();
  return 0;
}
