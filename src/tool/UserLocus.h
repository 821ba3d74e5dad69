#ifndef VEKTORLING_TOOL_USERLOCUS_H
#define VEKTORLING_TOOL_USERLOCUS_H

#include <string>
#include <vector>

#include "tool/Locus.h"

// The loops a foot can follow, also the index into UserLocus's list.
enum LocusType {
  LOCUS_FORWORD = 0,
  LOCUS_BACK = 1,
  LOCUS_STAMP_DETAIL = 2,
  LOCUS_STAMP_SLOW = 3,
};

// The walk's foot trajectories: four loops read from point lists.
// Each UpdatePoint hands the right foot the next point of the loop in use
// and the left foot the point half a loop ahead.
class UserLocus : public Locus {
 public:
  struct PointDegree {
    double x_ = 0.0;
    double y_ = 0.0;
    double degree_lj5_ = 0.0;  // ankle pitch offset at this point
  };

  struct Data {
    std::vector<PointDegree> targets;
    double center_y = 0.0;     // mean y of the points
    double step_length = 0.0;  // |largest x - smallest x|
  };

  // The four loops (forward, backward, two stamping loops) as point lists;
  // the backward loop's points are then replaced by the forward loop's in
  // reverse order, its height and step length kept.
  explicit UserLocus(const char* const (&loops)[4]);

  void UpdatePoint() override;

  // Reads a point list: one "x,y,degree" line per point, each line ended by
  // a line feed. The one-argument form appends the loop to the list.
  void InputDirectCSV(const std::string& text);
  static void InputDirectCSV(const std::string& text, Data& data);
  // out = points in reverse order.
  static void CreateReverseLocus(const std::vector<PointDegree>& points,
                                 std::vector<PointDegree>& out);
  // Takes the right foot's target from right_data and the left foot's from
  // left_data; nothing changes unless both lists hold the indexed points.
  void SettingPointAndDegreeLJ(int left_index, int right_index, const Data& left_data,
                               const Data& right_data);

  double GetRightDegreeLJ5() const { return right_degree_lj5_; }
  double GetLeftDegreeLJ5() const { return left_degree_lj5_; }
  // Mean height of the loop in use.
  double GetTergetCenterY() const;
  LocusType GetLocusType() const { return locus_type_; }
  LocusType GetBeforeLocusType() const { return before_locus_type_; }
  // Chooses the loop that the next UpdatePoint follows.
  void InitLocusType(LocusType type) { locus_type_ = type; }
  const std::vector<Data>& GetLocuses() const { return locuses_; }

 private:
  std::vector<Data> locuses_;
  LocusType locus_type_;
  LocusType before_locus_type_;
  double right_degree_lj5_;
  double left_degree_lj5_;
};

#endif  // VEKTORLING_TOOL_USERLOCUS_H
