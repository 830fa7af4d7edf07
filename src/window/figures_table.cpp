// figures_table.cpp: the rows of the figures window's table; see figures_table.h.
#include "window/figures_table.h"

#include <QString>
#include <QStringList>
#include <QTreeWidget>

#include <QVariant>

#include <array>
#include <complex>
#include <optional>
#include <string>

#include "console/number_text.h"
#include "field/field_table.h"

namespace orvex {

namespace {

QString NUMBER(double v) { return QString::fromStdString(NUMBER_G(v, 15)); }
QString POSITION(double v) { return QString::fromStdString(NUMBER_G(v, 10)); }

QString TEXT(std::string_view s) { return QString::fromUtf8(s.data(), static_cast<qsizetype>(s.size())); }

QTreeWidgetItem* ROW(QTreeWidgetItem* parent, const QString& figure, const std::optional<double>& value,
                     const QString& unit, const QString& where = {}) {
    return new QTreeWidgetItem(parent, {figure, value ? NUMBER(*value) : QStringLiteral("absent"), unit, where});
}

void RF_ROWS(QTreeWidgetItem* axis, const rf_figures& r, const QString& at) {
    ROW(axis, QStringLiteral("beta %1").arg(at), r.beta, {});
    ROW(axis, QStringLiteral("gain V(beta) %1").arg(at), r.gain, QStringLiteral("V"));
    ROW(axis, QStringLiteral("crest phase -arg S %1").arg(at), r.crest_phase, QStringLiteral("deg"));
    ROW(axis, QStringLiteral("transit-time factor T %1").arg(at), r.transit_time, {});
    ROW(axis, QStringLiteral("single-gap transit-time factor V(beta)/|V0| %1").arg(at), r.single_gap_transit_time, {});
}

void AXIS_ROWS(QTreeWidgetItem* top, const field_figures& f) {
    auto* axis = new QTreeWidgetItem(top, {QStringLiteral("on the z axis (line 3)")});
    if (f.field == 0) {
        ROW(axis, QStringLiteral("V0 = integral of Ez dz"), f.axial_voltage, QStringLiteral("V"));
        if (f.at_beta) RF_ROWS(axis, *f.at_beta, QStringLiteral("at the beta asked"));
        if (f.best) RF_ROWS(axis, *f.best, QStringLiteral("at the best beta"));
    } else {
        ROW(axis, QStringLiteral("integral of Bz dz"), f.bz_integral, QStringLiteral("Gs cm"));
        ROW(axis, QStringLiteral("integral of Bz^2 dz"), f.bz2_integral, QStringLiteral("Gs^2 cm"));
        ROW(axis, QStringLiteral("effective length"), f.effective_length, QStringLiteral("cm"));
        ROW(axis, QStringLiteral("hard-edge field"), f.hard_edge_field, QStringLiteral("Gs"));
    }
    const bool magnetic = f.field == 1;
    const QString name = magnetic ? QStringLiteral("dBy/dx") : QStringLiteral("dEx/dx");
    if (f.gradient) {
        ROW(axis, QStringLiteral("gradient %1, largest").arg(name), f.gradient->largest,
            magnetic ? QStringLiteral("Gs/cm") : QStringLiteral("V/cm^2"),
            QStringLiteral("node %1, z = %2 cm").arg(f.gradient->node).arg(POSITION(f.gradient->z)));
        ROW(axis, QStringLiteral("integral of %1 dz").arg(name), f.gradient->integral,
            magnetic ? QStringLiteral("Gs") : QStringLiteral("V/cm"));
    } else {
        ROW(axis, QStringLiteral("gradient %1").arg(name), std::nullopt, {});
    }
    axis->setExpanded(true);
}

void DIVERGENCE_ROW(QTreeWidgetItem* top, const field_figures& f) {
    if (!f.divergence) {
        ROW(top, QStringLiteral("divergence D"), std::nullopt, {}, QStringLiteral("no interior node, or every term 0"));
        return;
    }
    const divergence_figures& d = *f.divergence;
    auto* row = ROW(top, QStringLiteral("divergence D (largest |sum| / largest sum of |terms|)"), d.ratio, {},
                    QStringLiteral("node (%1, %2, %3): x = %4, y = %5, z = %6 cm")
                        .arg(d.i).arg(d.j).arg(d.k).arg(POSITION(d.x), POSITION(d.y), POSITION(d.z)));
    const divergence_verdict verdict = DIVERGENCE_VERDICT(d);
    if (verdict == divergence_verdict::suspect) row->setForeground(1, QColor(0xb0, 0x20, 0x20));
    const QString along = verdict == divergence_verdict::too_coarse
                              ? QStringLiteral("mostly along %1: the map is too coarse along %1 to judge D").arg(QChar::fromLatin1(d.error_axis))
                              : QStringLiteral("mostly along %1").arg(QChar::fromLatin1(d.error_axis));
    auto* cost = ROW(top, QStringLiteral("what the differences cost R (their own error / largest sum of |terms|)"), d.resolution, {}, along);
    cost->setToolTip(3, along);
}

void CURL_ROWS(QTreeWidget* table, const curl_figures& c) {
    auto* top = new QTreeWidgetItem(table, {QStringLiteral("curl check at %1 MHz").arg(NUMBER(c.frequency_mhz))});
    auto* row = ROW(top, QStringLiteral("C (largest |curl E + w B| / largest |curl E| + w |B|)"), c.ratio, {},
                    QStringLiteral("node (%1, %2, %3): x = %4, y = %5, z = %6 cm")
                        .arg(c.i).arg(c.j).arg(c.k).arg(POSITION(c.x), POSITION(c.y), POSITION(c.z)));
    if (c.ratio > curl_note_threshold) row->setForeground(1, QColor(0xb0, 0x20, 0x20));
    ROW(top, QStringLiteral("k (B fitted to -curl E / w)"), c.factor, {},
        QStringLiteral("1: the fields belong together; -1: B has the other sign"));
    top->setExpanded(true);
}

// "quadrupole", "14-pole": the name of the 2n-pole.
QString POLE_NAME(int n) {
    static const std::array<const char*, 6> names{"dipole", "quadrupole", "sextupole", "octupole", "decapole", "dodecapole"};
    return n >= 1 && n <= 6 ? QString::fromLatin1(names[static_cast<std::size_t>(n - 1)]) : QStringLiteral("%1-pole").arg(2 * n);
}

void MULTIPOLE_ROWS(QTreeWidgetItem* top, const multipole_figures& f) {
    const bool magnetic = f.field == 1;
    auto* all = new QTreeWidgetItem(top, {QStringLiteral("multipoles at r_ref = %1 cm").arg(POSITION(f.r_ref)), QString(), QString(),
                                          QStringLiteral("n = 1..%1, %2 nodes of each z plane").arg(f.order).arg(f.nodes)});
    if (f.order == 0 || !f.integrated) {
        all->setText(1, QStringLiteral("absent"));
        return;
    }
    const QString c_unit = magnetic ? QStringLiteral("Gs cm") : QStringLiteral("V");
    if (f.main > 0) {
        ROW(all, QStringLiteral("main harmonic M (largest integrated |C_n|)"), f.main, {}, POLE_NAME(f.main));
        ROW(all, QStringLiteral("roll of the main harmonic"), f.roll_mrad, QStringLiteral("mrad"));
    } else {
        ROW(all, QStringLiteral("main harmonic M"), std::nullopt, {}, QStringLiteral("every integrated C_n is 0"));
    }
    if (f.centre_x && f.centre_y) {
        ROW(all, QStringLiteral("magnetic centre x0"), f.centre_x, QStringLiteral("cm"));
        ROW(all, QStringLiteral("magnetic centre y0"), f.centre_y, QStringLiteral("cm"));
    }
    if (f.quadrupole) {
        const quadrupole_figures& q = *f.quadrupole;
        ROW(all, QStringLiteral("gradient G = Re C_2 / r_ref at the middle plane"), q.gradient_middle,
            magnetic ? QStringLiteral("Gs/cm") : QStringLiteral("V/cm^2"),
            QStringLiteral("node %1, z = %2 cm").arg(q.middle_node).arg(POSITION(q.middle_z)));
        ROW(all, QStringLiteral("integral of G dz"), q.gradient_integral, magnetic ? QStringLiteral("Gs") : QStringLiteral("V/cm"));
        ROW(all, QStringLiteral("magnetic length (integral of G) / G(middle)"), q.magnetic_length, QStringLiteral("cm"));
    }
    auto* harmonics = new QTreeWidgetItem(all, {QStringLiteral("harmonics, integrated over z (double-click to plot b_n(z), a_n(z))")});
    for (int n = 1; n <= f.order; ++n) {
        const auto at = static_cast<std::size_t>(n - 1);
        const std::complex<double> c = (*f.integrated)[at];
        auto* row = new QTreeWidgetItem(harmonics, {QStringLiteral("n = %1 (%2)").arg(n).arg(POLE_NAME(n))});
        row->setData(0, Qt::UserRole, QVariantList{f.field, n, f.r_ref});
        if (f.main > 0) {
            row->setText(3, QStringLiteral("b%1 = %2, a%1 = %3 units").arg(n).arg(QString::number(f.b[at], 'g', 6), QString::number(f.a[at], 'g', 6)));
            for (QTreeWidgetItem* child : {ROW(row, QStringLiteral("b%1 (normal)").arg(n), f.b[at], QStringLiteral("units")),
                                           ROW(row, QStringLiteral("a%1 (skew)").arg(n), f.a[at], QStringLiteral("units"))})
                child->setData(0, Qt::UserRole, QVariantList{f.field, n, f.r_ref});
        }
        ROW(row, QStringLiteral("Re C%1, integrated").arg(n), c.real(), c_unit);
        ROW(row, QStringLiteral("Im C%1, integrated").arg(n), c.imag(), c_unit);
    }
    harmonics->setExpanded(true);
    all->setExpanded(true);
}

void LINE_ROWS(QTreeWidgetItem* top, const field_figures& f, const full_map& map) {
    const field_entry& entry = FIELD_ENTRY(f.field);
    const QString unit = TEXT(entry.unit), integral_unit = f.field == 1 ? QStringLiteral("Gs cm") : QStringLiteral("V");
    auto* all = new QTreeWidgetItem(top, {QStringLiteral("the ten lines")});
    for (int l = 0; l < line_count; ++l) {
        const line_indices fixed = LINE_INDICES(map, l + 1);
        auto* line = new QTreeWidgetItem(all, {QStringLiteral("line %1: %2").arg(l + 1).arg(TEXT(profile_lines[static_cast<std::size_t>(l)].axis_title))});
        line->setText(3, QStringLiteral("nodes %1, %2").arg(fixed.first).arg(fixed.second));
        for (std::size_t c = 0; c < 3; ++c) {
            const component_figures& cf = f.lines[static_cast<std::size_t>(l)].components[c];
            const QString name = TEXT(entry.component_names[c]);
            for (const bool largest : {false, true}) {
                const std::optional<extreme_value>& e = largest ? cf.largest : cf.smallest;
                ROW(line, QStringLiteral("%1 %2").arg(name, largest ? QStringLiteral("largest") : QStringLiteral("smallest")),
                    e ? std::optional<double>(e->value) : std::nullopt, unit,
                    e ? QStringLiteral("node %1 at %2 cm").arg(e->node).arg(POSITION(e->position)) : QString());
            }
            ROW(line, QStringLiteral("integral of %1").arg(name), cf.integral, integral_unit);
        }
    }
}

}  // namespace

bool MULTIPOLE_OF_ROW(const QTreeWidgetItem* row, harmonic_choice& choice) {
    if (row == nullptr) return false;
    const QVariantList data = row->data(0, Qt::UserRole).toList();
    if (data.size() != 3) return false;
    choice = {data[0].toInt(), data[1].toInt(), data[2].toDouble()};
    return true;
}

void FILL_FIGURES_TABLE(QTreeWidget* table, std::span<const field_figures> fields, const full_map& map,
                        const curl_figures* curl) {
    table->clear();
    for (const field_figures& f : fields) {
        const field_entry& entry = FIELD_ENTRY(f.field);
        auto* top = new QTreeWidgetItem(table, {QStringLiteral("%1 field").arg(TEXT(entry.name)), QString(), TEXT(entry.unit)});
        AXIS_ROWS(top, f);
        DIVERGENCE_ROW(top, f);
        if (f.multipoles) MULTIPOLE_ROWS(top, *f.multipoles);
        LINE_ROWS(top, f, map);
        top->setExpanded(true);
    }
    if (curl != nullptr) CURL_ROWS(table, *curl);
    table->resizeColumnToContents(0);
    table->resizeColumnToContents(1);
}

}  // namespace orvex
