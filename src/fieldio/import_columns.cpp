// import_columns.cpp: the columns' roles, parts and units.
#include "fieldio/import_columns.h"

#include <string>

namespace orvex::mapimport {

namespace {

constexpr std::array<const char*, 9> role_names{"x", "y", "z", "Ex", "Ey", "Ez", "Bx", "By", "Bz"};

quantity QUANTITY_OF(int role) {
    return role < role_ex ? quantity::length : role < role_bx ? quantity::electric : quantity::magnetic;
}

std::string COLUMN(std::size_t index, const table_column& c) {
    return "column " + std::to_string(index + 1) + " (" + SHOWN_TEXT(c.name, 40) + ")";
}

// One unit per quantity from a list like "mm,V/m" (--units, or a "# units:" note).
std::array<const unit_info*, 3> UNITS_OF_LIST(const std::vector<std::string>& list, std::string_view source) {
    std::array<const unit_info*, 3> by_quantity{};
    for (const std::string& text : list) {
        const unit_info* u = FIND_UNIT(text);
        if (u == nullptr)
            REFUSE(std::string(source) + " names the unit \"" + SHOWN_TEXT(text) + "\", which is none of m, mm, cm, V/m, V/cm, kV/m, MV/m, T, mT, Gs, kGs, A/m");
        const unit_info*& slot = by_quantity[static_cast<std::size_t>(u->of)];
        if (slot != nullptr && slot != u)
            REFUSE(std::string(source) + " gives two units of " + std::string(QUANTITY_NAME(u->of)) + ": " +
                   std::string(slot->name) + " and " + std::string(u->name));
        slot = u;
    }
    return by_quantity;
}

std::vector<std::string> SPLIT_LIST(std::string_view text) {
    std::vector<std::string> out;
    std::vector<std::string_view> fields;
    SPLIT_FIELDS(text, fields);
    for (const std::string_view f : fields) out.emplace_back(f);
    return out;
}

}  // namespace

column_plan RESOLVE_COLUMNS(const import_request& request, const table_head& head) {
    std::vector<table_column> columns = head.columns;
    if (!request.columns.empty()) {
        if (!columns.empty() && columns.size() != request.columns.size())
            REFUSE("--columns names " + std::to_string(request.columns.size()) + " columns, the table's header " +
                   std::to_string(columns.size()));
        columns.resize(request.columns.size());
        for (std::size_t n = 0; n < columns.size(); ++n) columns[n].name = request.columns[n];
    }
    if (columns.empty()) REFUSE("the table names no columns: give --columns, e.g. --columns x,y,z,Ex,Ey,Ez");
    for (table_column& c : columns) NAME_COLUMN(c);

    bool complex = false;
    for (const table_column& c : columns) complex = complex || (c.role >= role_ex && c.part != column_part::whole);
    if (complex && request.part == column_part::whole)
        REFUSE("the table holds real and imaginary parts of its components: give --part re or --part im");
    if (!complex && request.part != column_part::whole)
        REFUSE("--part is for a table with real and imaginary columns; this table has none");

    column_plan plan;
    plan.width = columns.size();
    plan.index.fill(-1);
    for (std::size_t n = 0; n < columns.size(); ++n) {
        const table_column& c = columns[n];
        if (c.role == role_ignored) continue;
        const column_part wanted = c.role < role_ex ? column_part::whole : request.part;
        if (c.part != wanted) continue;
        int& slot = plan.index[static_cast<std::size_t>(c.role)];
        if (slot >= 0)
            REFUSE("columns " + std::to_string(slot + 1) + " and " + std::to_string(n + 1) + " are both " +
                   role_names[static_cast<std::size_t>(c.role)]);
        slot = static_cast<int>(n);
    }
    for (int r = 0; r < role_ex; ++r)
        if (plan.index[static_cast<std::size_t>(r)] < 0) REFUSE(std::string("no column of the table is ") + role_names[static_cast<std::size_t>(r)]);
    for (const int first : {role_ex, role_bx}) {
        int present = 0;
        for (int r = first; r < first + 3; ++r) present += plan.index[static_cast<std::size_t>(r)] >= 0;
        if (present != 0 && present != 3)
            REFUSE(std::string("the table has only some components of the ") + (first == role_ex ? "electric" : "magnetic") +
                   " field: it needs " + role_names[static_cast<std::size_t>(first)] + ", " +
                   role_names[static_cast<std::size_t>(first + 1)] + " and " + role_names[static_cast<std::size_t>(first + 2)]);
        (first == role_ex ? plan.electric : plan.magnetic) = present == 3;
    }
    if (!plan.electric && !plan.magnetic) REFUSE("the table has no field columns (Ex, Ey, Ez or Bx, By, Bz)");

    const auto given = UNITS_OF_LIST(request.units, "--units");
    std::vector<std::string> note_list = SPLIT_LIST(head.units_note);
    const auto noted = UNITS_OF_LIST(note_list, "the header");
    for (std::size_t r = 0; r < 9; ++r) {
        const int n = plan.index[r];
        if (n < 0) continue;
        const table_column& c = columns[static_cast<std::size_t>(n)];
        const quantity q = QUANTITY_OF(static_cast<int>(r));
        const unit_info* from_header = noted[static_cast<std::size_t>(q)];
        if (!c.unit.empty()) {
            from_header = FIND_UNIT(c.unit);
            if (from_header == nullptr) REFUSE(COLUMN(static_cast<std::size_t>(n), c) + " is in \"" + SHOWN_TEXT(c.unit) + "\", a unit this importer does not know; give --units");
        }
        const unit_info* from_option = given[static_cast<std::size_t>(q)];
        if (from_header != nullptr && from_option != nullptr && from_header != from_option)
            REFUSE(COLUMN(static_cast<std::size_t>(n), c) + " is in " + std::string(from_header->name) + " by the table's header, but --units says " +
                   std::string(from_option->name));
        const unit_info* u = from_header != nullptr ? from_header : from_option;
        if (u == nullptr) REFUSE("no unit for " + COLUMN(static_cast<std::size_t>(n), c) + ": give --units");
        if (u->of != q)
            REFUSE(COLUMN(static_cast<std::size_t>(n), c) + " is a " + std::string(QUANTITY_NAME(q)) + ", but its unit is " + std::string(u->name));
        plan.unit[r] = u;
        plan.name[r] = c.name;
    }
    return plan;
}

}  // namespace orvex::mapimport
