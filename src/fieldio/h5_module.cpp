// h5_module.cpp: the .h5 writer taken from its module.
#include "fieldio/h5_module.h"

#include "console/console.h"
#include "console/module_open.h"

namespace orvex {

h5_writer OPEN_H5_WRITER(std::string* why) {
    const module_opening opened = OPEN_MODULE(h5_module_file, h5_module_entry);
    const h5_writer writer = opened.entry != nullptr ? *static_cast<const h5_writer*>(opened.entry) : nullptr;
    if (writer == nullptr && why != nullptr) {
        const std::string reason = opened.entry != nullptr ? "its entry holds no writer" : opened.why;
        *why = "the HDF5 module " + VISIBLE_TEXT(opened.path) + " cannot be used: " + VISIBLE_TEXT(reason);
    }
    return writer;
}

}  // namespace orvex
