// slice_window.h: the whole map, one node plane at a time, and the profile through any node.
//
// WHAT IT IS
//   The slice window shows one quantity (a component or the magnitude) of the field shown on
//   one node plane of the unfolded map (slice_view.h), captioned with what it shows: "Ez (V/cm)
//   on the XY plane at z = 0 cm (node 201 of 401)". It opens on the XY plane at the node nearest
//   z = 0, component z, or the magnitude where that component is zero everywhere on the plane.
//   Controls: the plane, the node (a slider and a spin box, with the node's coordinate), the
//   quantity (with another map compared, SET_COMPARISON, also the difference of each component
//   and of the magnitude, this map minus the other at this map's nodes, on the diverging colour
//   map centred on 0, grey beyond the other's region); Page Up / Page Down step the node, Home / End go to the first and last; P and Q
//   step through the planes and quantities. The status bar reads the node under the pointer,
//   and after it the value interpolated (cubic) at the pointer's exact place (slice_view.h).
//   File > Export Slice (Ctrl+E) writes the slice as CSV (slices.h), File > Save Image
//   (Ctrl+Shift+S) as PNG, SVG or PDF; neither replaces a file without asking. View > Same Scale
//   (Ctrl+T; the "Same scale" box in the control row) keeps the same pixels per cm across and
//   up; off, the plane fills the window. Until the user sets it, each plane opens with it on,
//   unless drawn to scale the plane would be a strip (one side more than four times the other,
//   as the XZ and YZ planes of a long map): that plane opens stretched. View > Symmetric Colour
//   Range colours every component about zero (slice_view.h). Ctrl++, Ctrl+- and Ctrl+0 zoom.
//   A double-click on a cell (or Enter) opens the profiles through its node along x, y and z in
//   detail windows. Esc and Ctrl+W close it.
//
//   OPEN_NODE_LINE opens the profile of the field along one axis through any node in a detail
//   window, captioned with the line, "Ez (V/cm) — Z (cm), X=0.5, Y=-0.25"; ASK_NODE_LINE asks
//   for the node (i, j, k, or a point in cm taken to the nearest node) and the axis first.
//
// HOW TO CALL IT
//   auto* slices = new slice_window(content.fields.map, field_flag, map_file, parent);
//   slices->SET_CUT({slice_plane::xz, 25, slice_quantity::magnitude, field_flag});
//   slices->EXPORT_SLICE_TO(path, &why);   slices->SET_FIELD(1);
//   OPEN_NODE_LINE(grid, field_flag, map_file, 'z', {25, 23, 1}, 3, parent);
//
// ASSUMES AND LIMITS
//   The grid is unfolded for the field shown and outlives the windows. The windows close with
//   the window they were opened from and do not keep the application running.
#pragma once

#include <QMainWindow>
#include <QString>

#include <functional>
#include <string>
#include <string_view>

#include "field/interpolate.h"
#include "field/probe.h"
#include "field/slices.h"

class QAction;
class QCheckBox;
class QComboBox;
class QLabel;
class QMenu;
class QSlider;
class QSpinBox;

namespace orvex {

class slice_view;
struct plotted_page;

class slice_window : public QMainWindow {
public:
    slice_window(const full_map* grid, int field_flag, std::string_view map_file, QWidget* parent);

    void SET_CUT(const slice_cut& cut);
    const slice_cut& CUT() const;
    // The same plane, node and quantity of the other field.
    void SET_FIELD(int field_flag);
    void STEP_NODE(int steps);
    bool EXPORT_SLICE_TO(const QString& path, QString* why);
    bool SAVE_IMAGE_TO(const QString& path, QString* why);
    slice_view* VIEW() const { return view; }
    // Ctrl+1 / Ctrl+2 in this window ask for the field (the page window switches everything);
    // both_fields false leaves the other entry off.
    void OFFER_FIELDS(bool both_fields, std::function<void(int)> switch_field);
    // Another map against this one (null: none): the quantities gain the differences, and the
    // profiles opened from here show the other's too (those open are opened again).
    void SET_COMPARISON(const map_pairing* compared);

protected:
    bool event(QEvent* e) override;
    void keyPressEvent(QKeyEvent* e) override;
    bool eventFilter(QObject* watched, QEvent* e) override;

private:
    void BUILD_CONTROLS();
    void BUILD_MENUS();
    void SHOW_CUT();
    void EXPORT_SLICE();
    void SAVE_IMAGE();
    void OPEN_NODE(grid_node n);

    const full_map* grid;
    std::string map_file;
    const map_pairing* compared = nullptr;
    QLabel* source = nullptr;
    slice_view* view = nullptr;
    QComboBox* plane_box = nullptr;
    QComboBox* quantity_box = nullptr;
    QSlider* node_slider = nullptr;
    QSpinBox* node_box = nullptr;
    QLabel* node_place = nullptr;
    QCheckBox* same_scale = nullptr;          // the control row's face of same_scale_action
    QAction* same_scale_action = nullptr;     // View > Same Scale
    bool scale_chosen = false;                // the user set Same Scale: planes keep it
    bool cut_shown = false;
    QWidget* owner = nullptr;
    QMenu* view_menu = nullptr;
    bool updating = false;
};

// compared: another map against grid (field/compare.h), drawn over the line (detail_window.h).
QWidget* OPEN_NODE_LINE(const full_map& grid, int field_flag, std::string_view map_file, char axis,
                        grid_node through, int component, QWidget* parent, const map_pairing* compared = nullptr);

// A segment between any two points in cm, sampled at n points (SEGMENT_POINTS, field/probe.h;
// 2 to max_segment_samples) and interpolated there by one rule; OPEN_SEGMENT_LINE shows it in a
// detail window like a line, against s, the distance from the first point, captioned with both
// points and the rule: "Ez (V/cm) — s (cm) from (0, 0, -10) to (0.5, 0, 10) cm, cubic". Points
// outside the map's region have no value (the curve breaks there).
struct segment_request {
    point3 from{}, to{};
    int samples = 201;
    interpolation rule = interpolation::cubic;
};
inline constexpr int max_segment_samples = 100000;
QWidget* OPEN_SEGMENT_LINE(const full_map& grid, int field_flag, std::string_view map_file, const segment_request& segment,
                           int component, QWidget* parent);

// What a detail window shows, kept on it so that a field switch can open it again for the other
// field: a panel of the page (its number), or a line through a node (axis, i, j, k, component).
inline constexpr const char* detail_panel_property = "orvex_detail_panel";
inline constexpr const char* detail_node_line_property = "orvex_detail_node_line";
// ... or a segment (x0, y0, z0, x1, y1, z1, samples, rule: 0 linear 1 cubic, component).
inline constexpr const char* detail_segment_property = "orvex_detail_segment";

// Every detail window of owner (a window it opened) is opened again, in its place, for the
// field of field_flag, and the old one closed: a page panel from page (skipped when page is
// null), a node line or a segment from the grid.
void REOPEN_DETAIL_WINDOWS(QWidget* owner, const plotted_page* page, const full_map& grid, int field_flag,
                           std::string_view map_file, const map_pairing* compared = nullptr);

// Asks for a node and an axis, then opens the line, or for any segment (two points, the samples
// and the rule), then opens it; nullptr when the user cancels.
QWidget* ASK_NODE_LINE(const full_map& grid, int field_flag, std::string_view map_file, QWidget* parent,
                       const map_pairing* compared = nullptr);

}  // namespace orvex
