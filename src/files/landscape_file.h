// The landscape as a tab-separated table of heights for a spreadsheet or a
// plotting tool. Rows are y (upward) over the height, columns x over the
// width, each stepped by one hundredth of its extent from 0 while the value
// does not exceed it; each cell is the height chain 1 sees at (x, y), 0 with
// no hills. Every number is fixed-point with twelve decimals, right-aligned
// in 20 characters, never with an exponent. The header line starts with a
// tab, and an empty line ends the table.
#pragma once

#include <iosfwd>
#include <optional>
#include <string>
#include <vector>

namespace wandrix {

class Simulation;

inline constexpr const char* kLandscapeSavedCaption = "Landscape saved in file:";
inline constexpr const char* kLandscapeErrorCaption = "Error writing landscape file";

// 0, s, 2s, ... (each sum rounded) while not above extent, s = extent x 0.01.
std::vector<double> grid_values(double extent);
// A number as the table writes it.
std::string table_number(double value);

void write_landscape(std::ostream& out, const Simulation& sim);
// Writes the table to path through a temporary file; returns the error text.
std::optional<std::string> store_landscape(const Simulation& sim, const std::string& path);
// "Save &Landscape...": the chooser, the write, then the confirmation or the
// error. Nothing else in the session changes.
void save_landscape(Simulation& sim);

}  // namespace wandrix
