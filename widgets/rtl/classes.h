// The general classes of the run-time library: lists, string lists,
// streams and collections.
#pragma once

#include "widgets/rtl/collections.h"
#include "widgets/rtl/streams.h"
#include "widgets/rtl/string_lists.h"
