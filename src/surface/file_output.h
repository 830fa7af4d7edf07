// file_output.h: the whole-file writer now lives on the console floor (console/file_output.h),
// so that every floor, the map exporters included, writes files the same way. This header only
// forwards to it for code that still includes it here.
#pragma once

#include "console/file_output.h"
