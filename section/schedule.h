// Filling a reinforcement schedule template: the placeholder texts of an inserted template and
// what each becomes. "NAME" takes the title and thickness, "L<w>" and "S<w>" a bar number with its
// spacing times w, "N<k>" the k-th real given; other texts stay as they are.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace section {

struct ScheduleValues {
  std::wstring title;
  int thickness = 0;
  int bar1 = 0, spacing1 = 0;
  int bar2 = 0, spacing2 = 0;
  std::vector<double> reals;  // at most 20
  bool millimetres = false;  // the unit switch
};

// The new text of a template text, or nullopt when it stays. `formatReal` formats a real in the
// drawing's linear units.
std::optional<std::wstring> filledText(std::wstring_view text, const ScheduleValues& values,
                                       const std::function<std::wstring(double)>& formatReal);

// Template texts are drawn for scale 1:30; they take the drawing's scale factor.
inline double scaledHeight(double height, int scale) { return scale * height / 30; }

}  // namespace section
