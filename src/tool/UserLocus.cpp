#include "tool/UserLocus.h"

#include <cstdlib>
#include <limits>

namespace {

// Start values of the search for the largest and the smallest x.
const double kNoLargestX = -9999.9;
const double kNoSmallestX = 9999.9;

// A field of a point line: a decimal number after optional white space; a
// field that does not begin with a number reads as 0.
double ReadField(const std::string& line, std::size_t begin, std::size_t end) {
  const std::string field = line.substr(begin, end - begin);
  return std::strtod(field.c_str(), nullptr);
}

}  // namespace

UserLocus::UserLocus(const char* const (&loops)[4])
    : locus_type_(LOCUS_FORWORD),
      before_locus_type_(LOCUS_FORWORD),
      right_degree_lj5_(0.0),
      left_degree_lj5_(0.0) {
  for (const char* text : loops) InputDirectCSV(text);
  CreateReverseLocus(locuses_[LOCUS_FORWORD].targets, locuses_[LOCUS_BACK].targets);
  UpdatePoint();
}

void UserLocus::InputDirectCSV(const std::string& text) {
  Data data;
  InputDirectCSV(text, data);
  locuses_.push_back(data);
}

void UserLocus::InputDirectCSV(const std::string& text, Data& data) {
  data.targets.clear();
  double sum_y = 0.0;
  double largest_x = kNoLargestX;
  double smallest_x = kNoSmallestX;
  std::size_t start = 0;
  // Only lines ended by a line feed count; text after the last one is ignored.
  for (std::size_t lf = text.find('\n'); lf != std::string::npos;
       start = lf + 1, lf = text.find('\n', start)) {
    const std::string line = text.substr(start, lf - start);
    double field[3] = {0.0, 0.0, 0.0};
    std::size_t begin = 0;
    for (int i = 0; i < 3 && begin <= line.size(); ++i) {
      std::size_t comma = line.find(',', begin);
      if (comma == std::string::npos) comma = line.size();
      field[i] = ReadField(line, begin, comma);
      begin = comma + 1;
    }
    PointDegree p;
    p.x_ = field[0];
    p.y_ = field[1];
    p.degree_lj5_ = field[2];
    data.targets.push_back(p);
    sum_y += p.y_;
    if (p.x_ > largest_x) largest_x = p.x_;
    if (p.x_ < smallest_x) smallest_x = p.x_;
  }
  // An empty list has no mean height (0 / 0).
  data.center_y = data.targets.empty() ? std::numeric_limits<double>::quiet_NaN()
                                       : sum_y / static_cast<double>(data.targets.size());
  const double span = largest_x - smallest_x;
  data.step_length = span < 0.0 ? -span : span;
}

void UserLocus::CreateReverseLocus(const std::vector<PointDegree>& points,
                                   std::vector<PointDegree>& out) {
  out.assign(points.rbegin(), points.rend());
}

void UserLocus::SettingPointAndDegreeLJ(int left_index, int right_index, const Data& left_data,
                                        const Data& right_data) {
  if (left_data.targets.empty() || right_data.targets.empty()) return;
  // An index outside a list changes nothing either.
  if (left_index < 0 || right_index < 0 ||
      static_cast<std::size_t>(left_index) >= left_data.targets.size() ||
      static_cast<std::size_t>(right_index) >= right_data.targets.size()) {
    return;
  }
  const PointDegree& r = right_data.targets[right_index];
  const PointDegree& l = left_data.targets[left_index];
  right_target_x_ = r.x_;
  right_target_y_ = r.y_;
  right_degree_lj5_ = r.degree_lj5_;
  left_target_x_ = l.x_;
  left_target_y_ = l.y_;
  left_degree_lj5_ = l.degree_lj5_;
}

double UserLocus::GetTergetCenterY() const { return locuses_[locus_type_].center_y; }

void UserLocus::UpdatePoint() {
  before_locus_type_ = locus_type_;
  const Data& d = locuses_[locus_type_];
  const int n = static_cast<int>(d.targets.size());
  if (n == 0) return;  // a loop without points leaves the targets where they are
  cycle_->SetMax(n - 1);
  // After a switch to a shorter loop the counter may stand past its end:
  // start that loop from its first point.
  if (cycle_->GetValue() > n - 1 || cycle_->GetValue() < 0) cycle_->SetValue(0);
  const int v = cycle_->GetValue();
  SettingPointAndDegreeLJ((v + n / 2) % n, v, d, d);
  cycle_->IncrementRing();
}
