#pragma once

// GoogleTest's printers for QString live with the test support.
#include "support/testenv.h"
