#include "window_harness.h"
