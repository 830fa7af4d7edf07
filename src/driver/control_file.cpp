// STUB: replaced by the control-file reader.
#include "control_file.h"
#include "field_grid.h"
namespace orvex {
run_settings_record run_settings;
std::string_view FIELD_FILE_NAME() { return {}; }
void READ_CONTROL_FILE() {}
void CLASSIFY_FIELD_FILE() {}
}  // namespace orvex
