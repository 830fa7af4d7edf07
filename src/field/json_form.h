// json_form.h: what the field floor's JSON documents share (the figures' and the comparison's);
// their callers use figures_json.h and compare_json.h.
//
// WHAT IT IS
//   The JSON value type (keys kept in the order given), a real number put only when it is there
//   and finite, the "map" object that names a map (file, kind, carries, mirror flags, nodes,
//   limits_cm, steps_cm), and the one printer: two spaces of indent per level, arrays of
//   numbers on one line, every real number with 17 significant digits (as "%.17g" writes it,
//   so it reads back as the same double), every string valid UTF-8 (bytes that are not UTF-8
//   written as the text \xNN) with its control characters escaped, the C1 controls, DEL and
//   U+2028/U+2029 included ("\u009b"), so no string can drive a terminal.
//
// HOW TO CALL IT
//   json_form::json root = json_form::json::object();
//   root["map"] = json_form::MAP_JSON(file, &map);  json_form::PUT_REAL(root, "D", d);
//   const std::string text = json_form::JSON_TEXT(root);   // ends with a line end
//
// ASSUMES AND LIMITS
//   Included only by the field floor's own sources (its library links the JSON library
//   privately).
#pragma once

#include <array>
#include <nlohmann/json.hpp>
#include <optional>
#include <string>
#include <string_view>

#include "field/full_map.h"

namespace orvex::json_form {

using json = nlohmann::ordered_json;

inline constexpr std::array<const char*, 3> axis_names{"x", "y", "z"};

// Puts a real number under key only when it is there and finite.
void PUT_REAL(json& o, const char* key, const std::optional<double>& v);

// {file, kind, carries, mirror_flags, nodes, limits_cm, steps_cm}; only the file without a map.
json MAP_JSON(std::string_view file, const full_map* map);

// The document as text, ending with a line end.
std::string JSON_TEXT(const json& root);

}  // namespace orvex::json_form
