// The number pad's list of common values: the unit factor of the drawing, the text an entry
// shows, the base values, and the registry key that keeps the list between sessions. Values are
// stored in centimetres, the suite's base unit, and shown in the drawing's unit.
#pragma once

#include <string>
#include <vector>

namespace core {

// The registry key of the list, under the current user.
inline constexpr const wchar_t* kQuickNumberKey = L"Software\\Vantor\\KORA_CAD\\QuickNumber";

// Display units per centimetre for an insunits code: 4 (mm) 10, 6 (m) 0.01, otherwise 1.
double displayFactor(int insunits);

// An entry's text: nine characters wide, one decimal in millimetres, four in metres, two
// otherwise, so that the text order is the numeric order.
std::wstring entryText(double displayValue, double factor);

// The entries shown at the start: the stored list in value order, or the base values when the
// key is missing; display values.
std::vector<double> loadQuickNumbers(double factor);

// Replaces the stored list: the key is deleted and written again, one "%f" value (in centimetres)
// per entry, named "0", "1", ... in the order given. Registry failures are silent.
void saveQuickNumbers(const std::vector<double>& displayValues, double factor);

}  // namespace core
