// Fixture: an allowed header of the same folder.
#include "core/Leaks.h"
