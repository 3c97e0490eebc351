// The report page's layout: line positions, columns and page breaks.
#include <gtest/gtest.h>

#include "output/report_layout.h"
