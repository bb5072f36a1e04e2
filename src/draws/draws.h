// Past draws the user brings: reading them from any text (reader.h),
// keeping them in draws.txt (store.h), their 遗漏 and statistics
// (statistics.h), the trend chart (chart.h), and checking a bet list
// against a draw (prizes.h). The draws window calls them.
#pragma once

#include "draws/chart.h"
#include "draws/draw.h"
#include "draws/prizes.h"
#include "draws/reader.h"
#include "draws/statistics.h"
#include "draws/store.h"
