// Kept for tests/sim until it includes support/ServerText.h itself.
#include "../support/ServerText.h"
