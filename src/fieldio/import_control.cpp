// import_control.cpp: the five lines of a control file, written only where there is none.
#include "fieldio/import_control.h"

#include <sys/stat.h>

#include <cerrno>
#include <string>

#include "console/file_output.h"
#include "fieldio/import_source.h"

namespace orvex::mapimport {

std::string_view LAYOUT_NAME(int format_flag) {
    return format_flag == 0 ? "binary array" : format_flag == 1 ? "text array" : "node list";
}

control_outcome WRITE_CONTROL_BESIDE(std::string_view map_path, int format_flag, int field_flag) {
    control_outcome o;
    const std::size_t slash = map_path.rfind('/');
    const std::string_view name = slash == std::string_view::npos ? map_path : map_path.substr(slash + 1);
    o.path = std::string(slash == std::string_view::npos ? std::string_view{} : map_path.substr(0, slash + 1)) +
             std::string(viewer_control_file);
    struct stat status {};
    if (::lstat(o.path.c_str(), &status) == 0 || errno != ENOENT) {
        o.existed = true;
        o.why = "there is one already";
        return o;
    }
    if (name.size() > control_name_length) {
        o.why = "the map's name is longer than the " + std::to_string(control_name_length) + " characters line 3 holds";
        return o;
    }
    if (name.empty() || name.front() == ' ' || name.back() == ' ' || name.back() == '\r' ||
        name.find('\n') != std::string_view::npos) {
        o.why = "line 3 cannot give the map's name as it stands (blanks at its ends or a line break)";
        return o;
    }
    const auto holds = [&](std::string_view token) { return name.find(token) != std::string_view::npos; };
    if (!holds("MW") && !holds("EM") && !holds("PMQ") && !holds("RFQ")) {
        o.why = "the map's name holds no kind token (MW, EM, PMQ or RFQ)";
        return o;
    }
    const std::string text = "ORVEX field map " + SHOWN_TEXT(name, control_name_length) + "\n" +
                             "written by write_field_map: " + std::string(LAYOUT_NAME(format_flag)) + " layout, " +
                             (field_flag == 1 ? "magnetic" : "electric") + " field\n" + std::string(name) + "\n" +
                             std::to_string(format_flag) + "\n" + std::to_string(field_flag) + "\n";
    std::string why;
    if (!WRITE_NEW_FILE_ATOMICALLY(o.path, text, &why)) {
        o.existed = ::lstat(o.path.c_str(), &status) == 0;
        o.why = o.existed ? "there is one already" : why;
        return o;
    }
    o.done = true;
    return o;
}

}  // namespace orvex::mapimport
