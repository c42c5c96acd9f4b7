#include "app/quillfex.h"

#include "app/main_menu.h"
#include "app/start_up.h"

namespace quillfex {

void runQuillfex(Context& context) {
  switch (startUp(context)) {
    case StartUp::ended:
      return;
    case StartUp::refused:
      break;
    case StartUp::menu:
      mainMenu(context);
      break;
  }
  cleanUp(context);
}

}  // namespace quillfex
