// run_content.h: what a run hands the window about its map, for the window tests: the analytic
// map loaded as a reader leaves it, line 5's field asked for, the content a run's SHOW_PAGE
// would fill for the figures and tracking windows; and the map written with its control file,
// for the program's own run of the same map.
#pragma once

#include <QString>
#include <QTemporaryDir>
#include <QtTest>

#include <fstream>
#include <string>

#include "driver/page_run.h"
#include "field/analytic_grid.h"
#include "field/field_grid.h"
#include "field/unfold.h"
#include "map_writer.h"
#include "show/page_content.h"

namespace orvex::testing {

inline page_content RUN_CONTENT(const mapgen::map_recipe& recipe, int field, const char* map_file) {
    LOAD_ANALYTIC(recipe);
    field_grid.field_flag = field;
    UNFOLD_GRID(fields_unfolded::on_request);
    page_content content;
    content.fields = RUN_PAGE_FIELDS(field);
    content.figures = RUN_PAGE_FIGURES();
    content.figures.map_file = map_file;
    return content;
}

// The map in the binary layout in dir, named name, with a control file asking for the electric
// field; false when it cannot be written.
inline bool WRITE_MAP_AND_CONTROL(const QTemporaryDir& dir, const mapgen::map_recipe& recipe, const std::string& name) {
    if (!mapgen::WRITE_FIELD_MAP(recipe, mapgen::layout::binary, dir.filePath(QString::fromStdString(name)).toStdString()))
        return false;
    std::ofstream(dir.filePath(QStringLiteral("plot_orvex_3dfields.dat")).toStdString()) << "a\nb\n" << name << "\n0\n0\n";
    return true;
}

}  // namespace orvex::testing
