// Fixture: a core header that breaks the layering three ways.
#include <QString>
#include <vector>
#include "drawing/PathDrawer.h"
#include "../drawing/PathDrawer.h"
#include "Own.h"
