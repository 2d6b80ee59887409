// What the module says about itself: the version of the programs it was built with.
#include <emscripten/bind.h>

#include "version.h"

namespace {

std::string core_version() {
    return ZQ70_VERSION;
}

} // namespace

EMSCRIPTEN_BINDINGS(zq70_module) {
    emscripten::function("version", &core_version);
}
