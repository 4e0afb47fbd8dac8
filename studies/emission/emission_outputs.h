// An emission result as a person or a program reads it: a table for the
// terminal, a CSV file and a JSON document.
//
// Levels are in dBuV/m as a CISPR 16 receiver reads a harmonic: the RMS value,
// 20 log10(|E| / sqrt(2) / 1 uV/m). The margin is limit minus level; a negative
// margin is a failing line.
#pragma once

#include <string>

#include "studies/emission/emission_run.h"

namespace lumetra::emission {

// The verdict line: "PASS: worst margin 4.20 dB at 175 MHz", "FAIL: ...", and
// where no line has a margin (no limit chosen, or none applies) "NO LIMIT: highest
// level 41.30 dBuV/m at 75 MHz"; "NO LINES: nothing was computed".
std::string VerdictText(const EmissionResult& result);

// A header (site, distance, limit and its note), one row per line, the verdict.
std::string EmissionTable(const EmissionResult& result);

// One header row and one row per line, CR LF line ends; an empty field where a
// value does not apply (no limit, no height on the free site).
std::string EmissionCsv(const EmissionResult& result);

// distance_m, site, limit, limit_note, worst_margin_db, passed, notes and lines,
// each with frequency_mhz, e_dbuv_m, limit_dbuv_m, margin_db, theta_deg, phi_deg,
// height_m (semi-anechoic site only), polarisation, largest_source and sources
// (number, amplitude_v as [re, im]). Null where a value does not apply.
std::string EmissionJson(const EmissionResult& result);

}  // namespace lumetra::emission
