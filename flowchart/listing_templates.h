#pragma once
// The listing templates: one printf-style text per row in each of the three notations, UTF-8.

namespace pendra2::flowchart {

enum class Notation { Basic = 0, Japanese = 1, C = 2 };

inline constexpr int kListingTemplateRows = 47;

// The template of a row in one notation; "" for the closing row and for rows outside the
// table.
const char* ListingTemplate(int row, Notation notation);

}  // namespace pendra2::flowchart
