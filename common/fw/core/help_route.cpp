#include "help_route.h"

namespace fw {

HtmlHelpRequest RouteWinHelp(unsigned command, unsigned long data) {
  switch (command) {
    case kWinHelpContext: return {true, kHhHelpContext, data == kFrameworkMainHelpId ? kMainWindowTopic : data};
    case kWinHelpContents: return {true, kHhDisplayToc, 0};
    case kWinHelpHelpOnHelp: return {true, kHhDisplaySearch, 0};
    case kWinHelpFinder: return {true, kHhDisplayIndex, 0};
    default: return {};
  }
}

}  // namespace fw
