// run_modes.cpp: the one wrapper every mode runs through; see run_modes.h.
#include "driver/run_modes.h"

#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <exception>
#include <new>
#include <span>
#include <string_view>

#include <unistd.h>

#include "console/console.h"
#include "console/run_stop.h"
#include "driver/control_file.h"
#include "driver/header_listing.h"
#include "driver/page_run.h"
#include "field/field_grid.h"
#include "field/map_checks.h"
#include "field/unfold.h"
#include "fieldio/map_layouts.h"

namespace orvex {

namespace {

struct mode_entry {
    run_mode mode;
    void (*stages)(const run_request&, run_outcome&);
    bool lists;           // the listing reaches standard output
    bool silent = false;  // nothing at all reaches standard output: it may be closed
};

constexpr mode_entry mode_table[] = {
    {run_mode::page, PAGE_STAGES, true},
    {run_mode::figures, FIGURES_STAGES, false},
    {run_mode::export_map, EXPORT_STAGES, false, true},
    {run_mode::multipoles, MULTIPOLES_STAGES, false},
    {run_mode::compare, COMPARE_STAGES, false},
    {run_mode::slice, SLICE_STAGES, false, true},
    {run_mode::probe, PROBE_STAGES, false},
    {run_mode::track, TRACK_STAGES, false},
};

const mode_entry& MODE_ENTRY(run_mode mode) {
    for (const mode_entry& m : mode_table)
        if (m.mode == mode) return m;
    return mode_table[0];
}

void LOAD_FIELD_FILE() {
    const map_layout* layout = FIND_MAP_LAYOUT(run_settings.format_flag);
    if (layout == nullptr) STOP_RUN(msg_bad_format);
    layout->read(FIELD_FILE_NAME(), field_grid);
}

// The mirror flags are 0 or 1. Others (2, 0, 0, or 1, 1, -1 summing to 1) could still match
// an unfolding case by their sum, giving a page whose limits and steps contradict the data.
bool FLAGS_ARE_ZERO_OR_ONE() {
    const auto zero_or_one = [](std::int32_t flag) { return flag == 0 || flag == 1; };
    return zero_or_one(field_grid.ksym_yz) && zero_or_one(field_grid.ksym_xz) && zero_or_one(field_grid.ksym_xy);
}

// Each note from note first on, as one line on standard error; they change nothing else. A run
// whose standard output was lost says only that, at its end.
void REPORT_MAP_NOTES(std::size_t first, const mode_entry& mode) {
    if (CONSOLE_OUTPUT_ERROR() != 0 && !mode.silent) return;
    const std::span<const std::string_view> notes = MAP_NOTES();
    for (std::size_t n = first; n < notes.size(); ++n)
        std::fprintf(stderr, "plot_orvex_3dfields: note: %s\n", VISIBLE_TEXT(notes[n]).c_str());
}

// The stages every mode shares: the map read, listed, checked and unfolded into field_grid.full.
void READ_AND_UNFOLD_MAP(const mode_entry& mode) {
    READ_CONTROL_FILE();
    CLASSIFY_FIELD_FILE();
    CONSOLE_WRITE(" Input field file name = ", {L_TEXT(FIELD_FILE_NAME())});
    LOAD_FIELD_FILE();
    LIST_FIELD_HEADER();
    if (!FLAGS_ARE_ZERO_OR_ONE()) STOP_RUN(msg_no_unfolding_case);
    CHECK_MAP();
    REPORT_MAP_NOTES(0, mode);
    UNFOLD_GRID(fields_unfolded::on_request);
    // A map that matches no unfolding case would give thirty empty profiles and a meaningless
    // page: the run stops here instead.
    if (field_grid.full.nx == 0) STOP_RUN(msg_no_unfolding_case);
}

// Writes text whole to standard output and closes a copy of it, so that a file system that
// reports its errors at the close (NFS) reports them here; false, with one line on standard
// error, when it cannot (standard output closed when the run began, so that it now leads to
// /dev/null; a full device; a closed pipe).
bool WRITE_STANDARD_OUTPUT(std::string_view text) {
    errno = CONSOLE_OUTPUT_ERROR();
    if (errno == 0 && std::fwrite(text.data(), 1, text.size(), stdout) == text.size() && std::fflush(stdout) == 0) {
        const int copy = ::dup(STDOUT_FILENO);  // none free: nothing more to learn
        if (copy < 0 || ::close(copy) == 0) return true;
    }
    std::fprintf(stderr, "plot_orvex_3dfields: cannot write standard output: %s\n", std::strerror(errno != 0 ? errno : EIO));
    return false;
}

}  // namespace

int RUN_REQUEST(const run_request& request) {
    HOLD_STANDARD_STREAMS();
    ADVISE_FIELD_GRID();
    const mode_entry& mode = MODE_ENTRY(request.mode);
    SET_CONSOLE_QUIET(!mode.lists);  // kept for the window, not printed
    run_outcome out;
    std::size_t reported = 0;
    try {
        READ_AND_UNFOLD_MAP(mode);
        reported = MAP_NOTES().size();
        mode.stages(request, out);
    } catch (const run_stop& stop) {
        SET_CONSOLE_QUIET(false);  // a stop is written even by a run that lists nothing
        REPORT_RUN_STOP(stop);
        if (stop.where == run_stop::channel::console) REPORT_LOST_LISTING();
        return 1;
    } catch (const std::bad_alloc&) {
        std::fprintf(stderr, "plot_orvex_3dfields: out of memory\n");
        return 1;
    } catch (const std::exception& e) {
        std::fprintf(stderr, "plot_orvex_3dfields: %s\n", VISIBLE_TEXT(e.what()).c_str());
        return 1;
    }
    REPORT_MAP_NOTES(reported, mode);
    // A listing or a document that did not reach standard output is a failed run: nothing is
    // shown or written. A mode that writes nothing there does not need it.
    if (mode.lists && REPORT_LOST_LISTING()) return 1;
    if (out.status != 0) {
        std::fprintf(stderr, "plot_orvex_3dfields: %s\n", out.said.c_str());
        return out.status;
    }
    if (!mode.silent && !WRITE_STANDARD_OUTPUT(out.document)) return 1;
    for (const std::string& piece : out.more_document)
        if (!piece.empty() && !WRITE_STANDARD_OUTPUT(piece)) return 1;
    if (!out.said.empty()) std::fprintf(stderr, "plot_orvex_3dfields: %s\n", out.said.c_str());
    int status = out.show_page ? SHOW_RUN_PAGE(out.page_field) : 0;
    if (status == 0 && request.strict && !MAP_NOTES().empty()) status = 3;
    return status;
}

}  // namespace orvex
