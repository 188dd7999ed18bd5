#include "app_state.h"

namespace tavrel {

AppState appState{};

}  // namespace tavrel
