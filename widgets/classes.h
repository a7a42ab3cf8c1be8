// The general classes of the run-time library: lists, string lists,
// streams and collections.
#pragma once

#include "widgets/collections.h"
#include "widgets/streams.h"
#include "widgets/string_lists.h"
