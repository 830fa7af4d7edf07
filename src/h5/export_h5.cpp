// export_h5.cpp: the unfolded map as an openPMD BeamPhysics external field mesh, built in memory
// by the HDF5 library (its core driver, no backing file) and handed back as the file's bytes,
// which the caller writes whole.
//
// Every string attribute is a fixed-length, null-padded ASCII string of the text's own length
// (readers that decode attributes as bytes fail on variable-length strings). The datasets hold
// the map's own numbers (V/cm, Gs) with unitSI 100 and 1e-4, so nothing is rounded on the way.
#include <hdf5.h>

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "fieldio/export_grid.h"
#include "fieldio/map_export.h"

namespace orvex {

namespace {

// One HDF5 identifier, closed by the function it came with.
struct h5_id {
    hid_t id = H5I_INVALID_HID;
    herr_t (*close)(hid_t) = nullptr;
    h5_id(hid_t i, herr_t (*c)(hid_t)) : id(i), close(c) {}
    h5_id(const h5_id&) = delete;
    h5_id& operator=(const h5_id&) = delete;
    ~h5_id() {
        if (id >= 0) close(id);
    }
    bool OK() const { return id >= 0; }
};

// HDF5 reports failures on standard error by itself; a run says one line of its own instead.
// Nor does the library close itself at exit: after a failed allocation its closing loops and
// prints ("HDF5: infinite loop closing library") after the run's own line; the file is in memory
// and nothing is left to flush. H5dont_atexit counts only before the library's first call.
struct quiet_hdf5 {
    H5E_auto2_t function = nullptr;
    void* data = nullptr;
    quiet_hdf5() {
        static const herr_t no_exit_hook = H5dont_atexit();
        (void)no_exit_hook;
        H5Eget_auto2(H5E_DEFAULT, &function, &data);
        H5Eset_auto2(H5E_DEFAULT, nullptr, nullptr);
    }
    ~quiet_hdf5() { H5Eset_auto2(H5E_DEFAULT, function, data); }
    quiet_hdf5(const quiet_hdf5&) = delete;
    quiet_hdf5& operator=(const quiet_hdf5&) = delete;
};

// A fixed-length ASCII string type of length (at least 1) characters.
hid_t STRING_TYPE(std::size_t length) {
    const hid_t t = H5Tcopy(H5T_C_S1);
    if (t < 0) return t;
    if (H5Tset_size(t, length == 0 ? 1 : length) < 0 || H5Tset_strpad(t, H5T_STR_NULLPAD) < 0 ||
        H5Tset_cset(t, H5T_CSET_ASCII) < 0) {
        H5Tclose(t);
        return H5I_INVALID_HID;
    }
    return t;
}

bool WRITE_ATTRIBUTE(hid_t where, const char* name, hid_t type, hid_t space, const void* value) {
    const h5_id attribute(H5Acreate2(where, name, type, space, H5P_DEFAULT, H5P_DEFAULT), H5Aclose);
    return attribute.OK() && H5Awrite(attribute.id, type, value) >= 0;
}

bool STRING_ATTRIBUTE(hid_t where, const char* name, std::string_view text) {
    const h5_id type(STRING_TYPE(text.size()), H5Tclose);
    const h5_id space(H5Screate(H5S_SCALAR), H5Sclose);
    std::string padded(text);
    if (padded.empty()) padded.push_back('\0');
    return type.OK() && space.OK() && WRITE_ATTRIBUTE(where, name, type.id, space.id, padded.data());
}

template <class T>
bool NUMBER_ATTRIBUTE(hid_t where, const char* name, hid_t type, const T* values, hsize_t count) {
    const h5_id space(count == 0 ? H5Screate(H5S_SCALAR) : H5Screate_simple(1, &count, nullptr), H5Sclose);
    return space.OK() && WRITE_ATTRIBUTE(where, name, type, space.id, values);
}

bool AXIS_LABELS(hid_t where) {
    const h5_id type(STRING_TYPE(1), H5Tclose);
    const hsize_t three = 3;
    const h5_id space(H5Screate_simple(1, &three, nullptr), H5Sclose);
    const char labels[3] = {'x', 'y', 'z'};
    return type.OK() && space.OK() && WRITE_ATTRIBUTE(where, "axisLabels", type.id, space.id, labels);
}

bool ROOT_ATTRIBUTES(hid_t file) {
    return STRING_ATTRIBUTE(file, "openPMD", "2.0.0") && STRING_ATTRIBUTE(file, "openPMDextension", "BeamPhysics") &&
           STRING_ATTRIBUTE(file, "dataType", "openPMD") &&
           STRING_ATTRIBUTE(file, "externalFieldPath", "/ExternalFieldPath/%T/");
}

bool MESH_ATTRIBUTES(hid_t mesh, const export_grid& eg, double frequency_mhz) {
    const std::array<std::int64_t, 3> lower{0, 0, 0};
    const std::array<std::int64_t, 3> size{eg.plan.nx, eg.plan.ny, eg.plan.nz};
    // cm to m: a division by 100 is correctly rounded, a product with 0.01 is not.
    const std::array<double, 3> origin{eg.axis[0].lo / 100.0, eg.axis[1].lo / 100.0, eg.axis[2].lo / 100.0};
    const std::array<double, 3> spacing{eg.axis[0].step / 100.0, eg.axis[1].step / 100.0, eg.axis[2].step / 100.0};
    const std::int64_t harmonic = frequency_mhz > 0.0 ? 1 : 0;
    const double frequency_hz = frequency_mhz * 1e6;
    return STRING_ATTRIBUTE(mesh, "eleAnchorPt", "beginning") &&
           STRING_ATTRIBUTE(mesh, "gridGeometry", "rectangular") && AXIS_LABELS(mesh) &&
           NUMBER_ATTRIBUTE(mesh, "gridLowerBound", H5T_NATIVE_INT64, lower.data(), 3) &&
           NUMBER_ATTRIBUTE(mesh, "gridOriginOffset", H5T_NATIVE_DOUBLE, origin.data(), 3) &&
           NUMBER_ATTRIBUTE(mesh, "gridSpacing", H5T_NATIVE_DOUBLE, spacing.data(), 3) &&
           NUMBER_ATTRIBUTE(mesh, "gridSize", H5T_NATIVE_INT64, size.data(), 3) &&
           NUMBER_ATTRIBUTE(mesh, "harmonic", H5T_NATIVE_INT64, &harmonic, 0) &&
           (harmonic == 0 || NUMBER_ATTRIBUTE(mesh, "fundamentalFrequency", H5T_NATIVE_DOUBLE, &frequency_hz, 0));
}

// One record (electricField or magneticField): its three components as [nx][ny][nz] datasets,
// z fastest, real or complex {r, i}.
bool WRITE_RECORD(hid_t mesh, const full_map& grid, const export_grid& eg, int triple, bool complex) {
    const char* record_name = triple == 0 ? "electricField" : "magneticField";
    const double unit_si = triple == 0 ? 100.0 : 1e-4;
    const std::array<double, 7> dimension = triple == 0 ? std::array<double, 7>{1, 1, -3, -1, 0, 0, 0}
                                                        : std::array<double, 7>{0, 1, -2, -1, 0, 0, 0};
    const h5_id record(H5Gcreate2(mesh, record_name, H5P_DEFAULT, H5P_DEFAULT, H5P_DEFAULT), H5Gclose);
    if (!record.OK() || !NUMBER_ATTRIBUTE(record.id, "unitDimension", H5T_NATIVE_DOUBLE, dimension.data(), 7))
        return false;

    const std::array<hsize_t, 3> shape{static_cast<hsize_t>(eg.plan.nx), static_cast<hsize_t>(eg.plan.ny),
                                       static_cast<hsize_t>(eg.plan.nz)};
    const h5_id space(H5Screate_simple(3, shape.data(), nullptr), H5Sclose);
    const h5_id file_type(complex ? H5Tcreate(H5T_COMPOUND, 16) : H5Tcopy(H5T_IEEE_F64LE), H5Tclose);
    const h5_id memory_type(complex ? H5Tcreate(H5T_COMPOUND, 16) : H5Tcopy(H5T_NATIVE_DOUBLE), H5Tclose);
    if (!space.OK() || !file_type.OK() || !memory_type.OK()) return false;
    if (complex && (H5Tinsert(file_type.id, "r", 0, H5T_IEEE_F64LE) < 0 || H5Tinsert(file_type.id, "i", 8, H5T_IEEE_F64LE) < 0 ||
                    H5Tinsert(memory_type.id, "r", 0, H5T_NATIVE_DOUBLE) < 0 ||
                    H5Tinsert(memory_type.id, "i", 8, H5T_NATIVE_DOUBLE) < 0))
        return false;

    const std::size_t nx = shape[0], ny = shape[1], nz = shape[2];
    std::vector<double> unfolded(eg.nodes);
    std::vector<double> stored(complex ? 2 * eg.nodes : eg.nodes, 0.0);  // [i][j][k], z fastest
    const std::size_t stride = complex ? 2 : 1;
    for (int axis = 0; axis < 3; ++axis) {
        UNFOLDED_COMPONENT(grid, eg, 3 * triple + axis, unfolded);
        // An RF field's E is E(x) in "r", its B is i B(x) in "i": a reader that takes
        // Re[F e^(-iwt)] gets E(x) cos wt and B(x) sin wt, as the map's RF convention says.
        const std::size_t part = complex && triple == 1 ? 1 : 0;
        for (std::size_t k = 0; k < nz; ++k)
            for (std::size_t j = 0; j < ny; ++j)
                for (std::size_t i = 0; i < nx; ++i)
                    stored[((i * ny + j) * nz + k) * stride + part] = unfolded[(k * ny + j) * nx + i];
        const char* name = axis == 0 ? "x" : axis == 1 ? "y" : "z";
        const h5_id set(H5Dcreate2(record.id, name, file_type.id, space.id, H5P_DEFAULT, H5P_DEFAULT, H5P_DEFAULT),
                        H5Dclose);
        if (!set.OK() || H5Dwrite(set.id, memory_type.id, H5S_ALL, H5S_ALL, H5P_DEFAULT, stored.data()) < 0 ||
            !NUMBER_ATTRIBUTE(set.id, "unitSI", H5T_NATIVE_DOUBLE, &unit_si, 0) ||
            !NUMBER_ATTRIBUTE(set.id, "unitDimension", H5T_NATIVE_DOUBLE, dimension.data(), 7))
            return false;
    }
    return true;
}

bool BUILD_FILE(hid_t file, const full_map& grid, const export_grid& eg, double frequency_mhz) {
    if (!ROOT_ATTRIBUTES(file)) return false;
    const h5_id path(H5Gcreate2(file, "ExternalFieldPath", H5P_DEFAULT, H5P_DEFAULT, H5P_DEFAULT), H5Gclose);
    if (!path.OK()) return false;
    const h5_id mesh(H5Gcreate2(path.id, "1", H5P_DEFAULT, H5P_DEFAULT, H5P_DEFAULT), H5Gclose);
    if (!mesh.OK() || !MESH_ATTRIBUTES(mesh.id, eg, frequency_mhz)) return false;
    const bool complex = frequency_mhz > 0.0;
    return (!eg.electric || WRITE_RECORD(mesh.id, grid, eg, 0, complex)) &&
           (!eg.magnetic || WRITE_RECORD(mesh.id, grid, eg, 1, complex));
}

}  // namespace

bool MAP_AS_H5(const full_map& grid, const export_request& request, std::string& bytes, std::string* why) {
    const export_grid eg = EXPORT_GRID(grid);
    const quiet_hdf5 quiet;
    const std::size_t triples = (eg.electric ? 1 : 0) + (eg.magnetic ? 1 : 0);
    const std::size_t data_bytes = triples * 3 * eg.nodes * sizeof(double) * (request.frequency_mhz > 0.0 ? 2 : 1);
    bool built = false;
    {
        const h5_id access(H5Pcreate(H5P_FILE_ACCESS), H5Pclose);
        // The whole file in one block of memory, never written to a file by the library.
        if (access.OK() && H5Pset_fapl_core(access.id, data_bytes + (std::size_t{1} << 20), 0) >= 0) {
            const h5_id file(H5Fcreate("plot_orvex_3dfields export (in memory)", H5F_ACC_TRUNC, H5P_DEFAULT, access.id),
                             H5Fclose);
            if (file.OK() && BUILD_FILE(file.id, grid, eg, request.frequency_mhz) &&
                H5Fflush(file.id, H5F_SCOPE_GLOBAL) >= 0) {
                const ssize_t size = H5Fget_file_image(file.id, nullptr, 0);
                if (size > 0) {
                    bytes.resize(static_cast<std::size_t>(size));
                    built = H5Fget_file_image(file.id, bytes.data(), static_cast<std::size_t>(size)) == size;
                }
            }
        }
    }
    if (!built && why != nullptr) *why = "the HDF5 library could not build the file";
    return built;
}

}  // namespace orvex
