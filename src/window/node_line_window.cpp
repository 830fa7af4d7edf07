// node_line_window.cpp: the profile through any node, asked for by node or by point, shown in
// a detail window; the same dialog asks for any segment (segment_line.cpp).
#include <QComboBox>
#include <QDialog>
#include <QDialogButtonBox>
#include <QDoubleSpinBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLocale>
#include <QMainWindow>
#include <QRadioButton>
#include <QSpinBox>
#include <QStatusBar>
#include <QVBoxLayout>
#include <QVariant>

#include <array>
#include <string>

#include "field/field_table.h"
#include "field/node_lines.h"
#include "page/plotted_page.h"
#include "window/detail_window.h"
#include "window/slice_window.h"

namespace orvex {

namespace {

QString COORDINATE_TEXT(double v) { return QString::fromStdString(SHORT_COORDINATE(v, place_digits)); }

// The index letter of an axis, as the page names fixed nodes.
char INDEX_OF(char axis) { return axis == 'x' ? 'i' : axis == 'y' ? 'j' : 'k'; }

}  // namespace

QWidget* OPEN_NODE_LINE(const full_map& grid, int field_flag, std::string_view map_file, char axis,
                        grid_node through, int component, QWidget* parent, const map_pairing* compared) {
    const node_line line = LINE_THROUGH_NODE(grid, field_flag, axis, through);
    const std::string title = NODE_LINE_TITLE(line);
    // The line as the page's first line: three panels the detail window copies (it places its
    // own axes, so no panel scale is needed).
    plotted_page page;
    page.map_file = map_file;
    page.field = &FIELD_ENTRY(field_flag);
    for (int c = 1; c <= 3; ++c) {
        plotted_panel& p = page.panels[static_cast<std::size_t>(c - 1)];
        const std::vector<double>& values = line.val[static_cast<std::size_t>(c - 1)];
        p.panel = c;
        p.line = 0;  // none of the page's ten lines
        p.component = c;
        p.n = line.n;
        p.pos = line.pos.data();
        p.val = values.data();
        p.axis = line.axis;
        p.axis_title = title;
        p.value_title = QUANTITY_TITLE(field_flag, static_cast<slice_quantity>(c - 1));
        p.component_name = QUANTITY_NAME(field_flag, static_cast<slice_quantity>(c - 1));
        p.unit = FIELD_ENTRY(field_flag).unit;
        p.fixed_names = {INDEX_OF(line.fixed_axes[0]), INDEX_OF(line.fixed_axes[1])};
        p.fixed_index = {line.fixed_index[0], line.fixed_index[1]};
        p.fixed_coordinate = line.fixed_coordinate;
    }
    QWidget* opened = OPEN_DETAIL_WINDOW(page, std::clamp(component, 1, 3), parent, compared);
    if (opened != nullptr) {
        opened->setProperty(detail_node_line_property,
                            QVariantList{QChar::fromLatin1(line.axis), through.i, through.j, through.k, component});
    }
    return opened;
}

void REOPEN_DETAIL_WINDOWS(QWidget* owner, const plotted_page* page, const full_map& grid, int field_flag,
                           std::string_view map_file, const map_pairing* compared) {
    for (QObject* child : owner->children()) {
        auto* old = qobject_cast<QWidget*>(child);
        if (old == nullptr || !old->isWindow() || !old->isVisible()) continue;
        const QVariant panel = old->property(detail_panel_property);
        const QVariantList line = old->property(detail_node_line_property).toList();
        QWidget* again = nullptr;
        if (panel.isValid() && page != nullptr) {
            again = OPEN_DETAIL_WINDOW(*page, panel.toInt(), owner, compared);
            if (again != nullptr) again->setProperty(detail_panel_property, panel);
        } else if (line.size() == 5) {
            again = OPEN_NODE_LINE(grid, field_flag, map_file, line[0].toChar().toLatin1(),
                                   {line[1].toInt(), line[2].toInt(), line[3].toInt()}, line[4].toInt(), owner, compared);
        } else if (const QVariantList s = old->property(detail_segment_property).toList(); s.size() == 9) {
            const segment_request segment{{s[0].toDouble(), s[1].toDouble(), s[2].toDouble()},
                                          {s[3].toDouble(), s[4].toDouble(), s[5].toDouble()},
                                          s[6].toInt(),
                                          s[7].toInt() == 0 ? interpolation::linear : interpolation::cubic};
            again = OPEN_SEGMENT_LINE(grid, field_flag, map_file, segment, s[8].toInt(), owner);
        } else {
            continue;
        }
        if (again != nullptr) again->setGeometry(old->geometry());
        old->close();
    }
}

QWidget* ASK_NODE_LINE(const full_map& grid, int field_flag, std::string_view map_file, QWidget* parent,
                       const map_pairing* compared) {
    QDialog dialog(parent);
    dialog.setLocale(QLocale::c());  // the point's spin boxes read and write 0.5, in every locale
    dialog.setWindowTitle(QStringLiteral("Line Through Node"));
    auto* by_node = new QRadioButton(QStringLiteral("Node (i, j, k of the full grid)"));
    auto* by_point = new QRadioButton(QStringLiteral("Point in cm (taken to the nearest node)"));
    auto* by_segment = new QRadioButton(QStringLiteral("Any segment: from one point to another in cm, interpolated"));
    by_node->setChecked(true);
    std::array<QSpinBox*, 3> index{};
    std::array<QDoubleSpinBox*, 3> point{};
    std::array<QDoubleSpinBox*, 6> ends{};  // the segment's first and last point
    auto* index_row = new QHBoxLayout;
    auto* point_row = new QHBoxLayout;
    std::array<QHBoxLayout*, 2> end_rows{new QHBoxLayout, new QHBoxLayout};
    const std::array<char, 3> axes = {'x', 'y', 'z'};
    for (std::size_t e = 0; e < 6; ++e) {
        const char axis = axes[e % 3];
        const int count = AXIS_NODES(grid, axis);
        QDoubleSpinBox* box = ends[e] = new QDoubleSpinBox;
        box->setObjectName(QStringLiteral("segment_%1%2").arg(QLatin1Char(axis)).arg(e / 3));
        box->setDecimals(6);
        box->setRange(NODE_COORDINATE(grid, axis, 1), NODE_COORDINATE(grid, axis, count));
        // From the first z node to the last, on the axis.
        box->setValue(axis != 'z' ? 0.0 : NODE_COORDINATE(grid, axis, e < 3 ? 1 : count));
        box->setPrefix(QStringLiteral("%1%2 = ").arg(QLatin1Char(axis)).arg(e / 3));
        box->setSuffix(QStringLiteral(" cm"));
        end_rows[e / 3]->addWidget(box);
    }
    auto* samples = new QSpinBox;
    samples->setObjectName(QStringLiteral("segment_samples"));
    samples->setRange(2, max_segment_samples);
    samples->setValue(201);
    samples->setSuffix(QStringLiteral(" samples"));
    auto* rule = new QComboBox;
    rule->setObjectName(QStringLiteral("segment_rule"));
    rule->addItems({QStringLiteral("cubic"), QStringLiteral("linear")});
    rule->setToolTip(QStringLiteral("cubic: Catmull-Rom through 4 x 4 x 4 nodes; linear: trilinear on the cell"));
    auto* sampling_row = new QHBoxLayout;
    sampling_row->addWidget(samples);
    sampling_row->addWidget(new QLabel(QStringLiteral("interpolation")));
    sampling_row->addWidget(rule, 1);
    for (std::size_t a = 0; a < 3; ++a) {
        const char axis = axes[a];
        const int count = AXIS_NODES(grid, axis);
        index[a] = new QSpinBox;
        index[a]->setRange(1, count);
        index[a]->setValue(NEAREST_NODE_AT(grid, axis, 0.0));
        index[a]->setPrefix(QStringLiteral("%1 = ").arg(QLatin1Char(INDEX_OF(axis))));
        index_row->addWidget(index[a]);
        point[a] = new QDoubleSpinBox;
        point[a]->setDecimals(6);
        point[a]->setRange(NODE_COORDINATE(grid, axis, 1), NODE_COORDINATE(grid, axis, count));
        point[a]->setValue(0.0);
        point[a]->setPrefix(QStringLiteral("%1 = ").arg(QLatin1Char(axis)));
        point[a]->setSuffix(QStringLiteral(" cm"));
        point[a]->setEnabled(false);
        point_row->addWidget(point[a]);
    }
    auto* along = new QComboBox;
    const auto enable = [&] {
        for (std::size_t a = 0; a < 3; ++a) {
            index[a]->setEnabled(by_node->isChecked());
            point[a]->setEnabled(by_point->isChecked());
        }
        for (QDoubleSpinBox* box : ends) box->setEnabled(by_segment->isChecked());
        samples->setEnabled(by_segment->isChecked());
        rule->setEnabled(by_segment->isChecked());
        along->setEnabled(!by_segment->isChecked());
    };
    for (QRadioButton* choice : {by_node, by_point, by_segment}) QObject::connect(choice, &QRadioButton::toggled, &dialog, enable);
    enable();
    along->addItems({QStringLiteral("along x"), QStringLiteral("along y"), QStringLiteral("along z")});
    along->setCurrentIndex(2);
    auto* component = new QComboBox;
    for (int c = 1; c <= 3; ++c) component->addItem(QString::fromUtf8(QUANTITY_NAME(field_flag, static_cast<slice_quantity>(c - 1)).data(), 2));
    component->setCurrentIndex(2);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
    QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("Axis"), along);
    form->addRow(QStringLiteral("Component"), component);
    auto* column = new QVBoxLayout(&dialog);
    column->addWidget(by_node);
    column->addLayout(index_row);
    column->addWidget(by_point);
    column->addLayout(point_row);
    column->addWidget(by_segment);
    column->addLayout(end_rows[0]);
    column->addLayout(end_rows[1]);
    column->addLayout(sampling_row);
    column->addLayout(form);
    column->addWidget(buttons);
    if (dialog.exec() != QDialog::Accepted) return nullptr;
    if (by_segment->isChecked()) {
        const segment_request segment{{ends[0]->value(), ends[1]->value(), ends[2]->value()},
                                      {ends[3]->value(), ends[4]->value(), ends[5]->value()},
                                      samples->value(),
                                      rule->currentIndex() == 1 ? interpolation::linear : interpolation::cubic};
        return OPEN_SEGMENT_LINE(grid, field_flag, map_file, segment, component->currentIndex() + 1, parent);
    }

    grid_node through{index[0]->value(), index[1]->value(), index[2]->value()};
    QString said;
    if (by_point->isChecked()) {
        through = {NEAREST_NODE_AT(grid, 'x', point[0]->value()), NEAREST_NODE_AT(grid, 'y', point[1]->value()),
                   NEAREST_NODE_AT(grid, 'z', point[2]->value())};
        said = QStringLiteral("The point x = %1, y = %2, z = %3 cm is taken to the nearest node (i, j, k = %4, %5, %6): "
                              "x = %7, y = %8, z = %9 cm.")
                   .arg(COORDINATE_TEXT(point[0]->value()), COORDINATE_TEXT(point[1]->value()), COORDINATE_TEXT(point[2]->value()))
                   .arg(through.i).arg(through.j).arg(through.k)
                   .arg(COORDINATE_TEXT(NODE_COORDINATE(grid, 'x', through.i)), COORDINATE_TEXT(NODE_COORDINATE(grid, 'y', through.j)),
                        COORDINATE_TEXT(NODE_COORDINATE(grid, 'z', through.k)));
    }
    QWidget* opened = OPEN_NODE_LINE(grid, field_flag, map_file, axes[static_cast<std::size_t>(along->currentIndex())], through,
                                     component->currentIndex() + 1, parent, compared);
    if (!said.isEmpty()) {
        if (auto* window = qobject_cast<QMainWindow*>(opened)) window->statusBar()->showMessage(said);
        if (auto* window = qobject_cast<QMainWindow*>(parent)) window->statusBar()->showMessage(said, 10000);
    }
    return opened;
}

}  // namespace orvex
