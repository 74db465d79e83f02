// Fixture: a layer above core.
#include "core/Own.h"
