// Fixture: a sibling on the same level.
#include "drawing/PathDrawer.h"
