#include "core/Settings.h"

namespace cuttrace {

Settings& AppSettings() {
    static Settings settings;
    return settings;
}

}  // namespace cuttrace
