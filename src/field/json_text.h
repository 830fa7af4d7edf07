// json_text.h: a JSON value as the program's documents write it.
//
// WHAT IT IS
//   The one printer of the program's JSON documents (the figures, the tracking): two spaces of
//   indent per level, arrays of plain values on one line, every real number with 17
//   significant digits (so it reads back as the same double), integers as integers, every
//   string valid UTF-8 with its control characters escaped (C1 controls and DEL included); a
//   line end after the document. It is the field floor's one printer (json_form.h).
//
// HOW TO CALL IT
//   nlohmann::ordered_json doc = ...;   const std::string text = JSON_TEXT(doc);
//
// ASSUMES AND LIMITS
//   The caller links nlohmann_json (header only) and puts no NaN or infinity into the value:
//   absent figures are absent keys.
#pragma once

#include <nlohmann/json.hpp>
#include <string>

namespace orvex {

std::string JSON_TEXT(const nlohmann::ordered_json& value);

}  // namespace orvex
