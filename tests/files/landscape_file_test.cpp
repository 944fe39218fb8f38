#include "files/landscape_file.h"

#include <gtest/gtest.h>

#include <sstream>

#include "model/portable_math.h"
#include "model/simulation.h"

namespace wandrix {
namespace {

std::vector<std::string> table_lines(const Simulation& sim) {
  std::ostringstream out;
  write_landscape(out, sim);
  std::vector<std::string> lines;
  std::istringstream in(out.str());
  std::string line;
  while (std::getline(in, line)) {
    lines.push_back(line);
  }
  EXPECT_EQ(out.str().back(), '\n');
  return lines;
}

std::vector<std::string> cells(const std::string& line) {
  std::vector<std::string> fields;
  std::istringstream in(line);
  std::string field;
  while (std::getline(in, field, '\t')) {
    fields.push_back(field);
  }
  return fields;
}

Hill hill_at(double x, double y) {
  Hill hill;
  hill.label = "p";
  hill.mean_x = x;
  hill.mean_y = y;
  hill.stddev_x = 30.0;
  hill.stddev_y = 20.0;
  hill.correlation = 0.3;
  return hill;
}

// A hill's height for chain 1, as the plain formula gives it.
double height_of(const Hill& h, double x, double y) {
  const double dx = x - h.mean_x;
  const double dy = y - h.mean_y;
  const double sx = h.stddev_x;
  const double sy = h.stddev_y;
  const double r = h.correlation;
  const double q = dx * dx / (sx * sx) - 2 * r * dx * dy / (sx * sy) + dy * dy / (sy * sy);
  return h.relative_weight * math::exp(-0.5 * 1.0 * q / (1 - r * r));
}

TEST(LandscapeFile, NumberFormat) {
  EXPECT_EQ(table_number(4.0), "      4.000000000000");
  EXPECT_EQ(table_number(400.0), "    400.000000000000");
  EXPECT_EQ(table_number(-0.25), "     -0.250000000000");
  EXPECT_EQ(table_number(4e-13), "      0.000000000000");
  EXPECT_EQ(table_number(6e-13), "      0.000000000001");
  EXPECT_EQ(table_number(1e10), "10000000000.000000000000");  // wider than the field
}

TEST(LandscapeFile, GridValues) {
  const std::vector<double> square = grid_values(400.0);
  ASSERT_EQ(square.size(), 101U);
  EXPECT_EQ(square[1], 4.0);
  EXPECT_EQ(square.back(), 400.0);
  // Accumulated rounding decides about the end when the step is not exact.
  std::vector<double> expected;
  for (double t = 0.0; t <= 333.0; t = t + 3.33) {
    expected.push_back(t);
  }
  EXPECT_EQ(grid_values(333.0), expected);
  EXPECT_EQ(grid_values(0.0), std::vector<double>{0.0});
}

TEST(LandscapeFile, SquareTableWithoutHills) {
  Simulation sim;
  const std::vector<std::string> lines = table_lines(sim);
  ASSERT_EQ(lines.size(), 103U);
  EXPECT_EQ(lines[0].rfind("\t      0.000000000000\t      4.000000000000\t", 0), 0U);
  const std::vector<std::string> header = cells(lines[0]);
  ASSERT_EQ(header.size(), 102U);
  EXPECT_EQ(header[0], "");
  EXPECT_EQ(header[101], "    400.000000000000");
  for (std::size_t row = 1; row <= 101; ++row) {
    const std::vector<std::string> fields = cells(lines[row]);
    ASSERT_EQ(fields.size(), 102U);
    EXPECT_NE(lines[row][0], '\t');
    EXPECT_EQ(fields[0], table_number(static_cast<double>(row - 1) * 4.0));
    for (std::size_t k = 1; k < fields.size(); ++k) {
      EXPECT_EQ(fields[k], "      0.000000000000");
    }
  }
  EXPECT_EQ(lines[102], "");
}

TEST(LandscapeFile, PeakInItsRowAndColumnAndNoExponents) {
  Simulation sim;
  sim.set_chain_count(3);  // chain 1 is never heated: the table is the same
  sim.hills.push_back(hill_at(200, 100));
  sim.hills.push_back(hill_at(20, 380));
  sim.hills[1].weight = 0.5;
  sim.normalize_weights();
  const std::vector<std::string> lines = table_lines(sim);
  ASSERT_EQ(lines.size(), 103U);
  double best = -1.0;
  std::size_t best_row = 0;
  std::size_t best_column = 0;
  for (std::size_t row = 1; row <= 101; ++row) {
    const std::vector<std::string> fields = cells(lines[row]);
    for (std::size_t k = 1; k < fields.size(); ++k) {
      EXPECT_EQ(fields[k].find_first_of("eE"), std::string::npos);
      EXPECT_EQ(fields[k].size(), 20U);
      const double value = std::stod(fields[k]);
      if (value > best) {
        best = value;
        best_row = row;
        best_column = k;
      }
    }
  }
  EXPECT_EQ(cells(lines[best_row])[0], table_number(100.0));
  EXPECT_EQ(cells(lines[0])[best_column], table_number(200.0));
  // The peak of a hill is its relative weight, summed with the other hill.
  EXPECT_EQ(
      cells(lines[best_row])[best_column],
      table_number(0.0 + height_of(sim.hills[0], 200, 100) + height_of(sim.hills[1], 200, 100)));
}

TEST(LandscapeFile, RowsAreYOverTheHeightAndColumnsXOverTheWidth) {
  Simulation sim;
  sim.width = 300.0;
  sim.height = 200.0;
  sim.hills.push_back(hill_at(240, 60));
  sim.normalize_weights();
  const std::vector<std::string> lines = table_lines(sim);
  ASSERT_EQ(lines.size(), 103U);
  const std::vector<std::string> header = cells(lines[0]);
  ASSERT_EQ(header.size(), 102U);
  EXPECT_EQ(header[1], table_number(0.0));
  EXPECT_EQ(header[2], table_number(3.0));
  EXPECT_EQ(header[101], table_number(300.0));
  EXPECT_EQ(cells(lines[2])[0], table_number(2.0));
  EXPECT_EQ(cells(lines[101])[0], table_number(200.0));
  // Row y = 60 (index 31), column x = 240 (index 81) holds the peak.
  const std::vector<std::string> peak_row = cells(lines[31]);
  EXPECT_EQ(peak_row[0], table_number(60.0));
  EXPECT_EQ(peak_row[81], table_number(1.0));
  // Every cell is the height at its own column x and row y.
  const std::vector<std::string> row = cells(lines[11]);  // y = 20
  EXPECT_EQ(row[6], table_number(0.0 + height_of(sim.hills[0], 15.0, 20.0)));
}

}  // namespace
}  // namespace wandrix
