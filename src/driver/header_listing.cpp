// STUB
#include "header_listing.h"
namespace orvex { void LIST_FIELD_HEADER() {} }
