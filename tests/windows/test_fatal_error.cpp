// placeholder so the test program has a test until the real ones land
#include <gtest/gtest.h>
