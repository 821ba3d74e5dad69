#ifndef VEKTORLING_TOOL_VALUEMANAGER_H
#define VEKTORLING_TOOL_VALUEMANAGER_H

// Holds one number between Min and Max and changes it in unit or given
// steps: clamped ("Fixed"), wrapping round ("Ring") or bouncing between the
// bounds ("Elevator"). With an Interval of k the changing operations act
// only after every k-th UpdateFlame call (and always before the first one).
//
// Arithmetic and comparisons are those of T: an unsigned holder decremented
// below 0 wraps to the type's largest value before any bound is checked.
// Integer steps past the type's own limits wrap round as well (two's
// complement) instead of being undefined.
//
// Instantiated for short, unsigned short, int, unsigned int, long,
// unsigned long, float, double and long double.
template <typename T>
class ValueManager {
 public:
  // Swaps min and max when given the wrong way round, clamps value into
  // [Min, Max] and raises an interval below 1 to 1.
  ValueManager(T min, T max, T value, int interval);

  void UpdateFlame();

  void IncrementFixed();
  void DecrementFixed();
  void IncrementRing();
  void DecrementRing();
  void AdditionFixed(T d);
  void AdditionRing(T d);
  void RunElevator();
  void RunElevator(T d);

  // Plain assignments: no clamping, no swapping, no check.
  void SetMin(T min) { Min = min; }
  void SetMax(T max) { Max = max; }
  void SetValue(T value) { Value = value; }
  void SetInterval(int interval) { Interval = interval; }
  void SetFlame(int flame) { Flame = flame; }

  T GetMin() const { return Min; }
  T GetMax() const { return Max; }
  T GetValue() const { return Value; }
  int GetInterval() const { return Interval; }
  int GetFlame() const { return Flame; }
  bool GetEnableUpdate() const { return EnableUpdate; }

  T Min;
  T Max;
  T Value;
  int Interval;
  int Flame;
  bool Swicth;  // elevator direction: true = upwards
  bool EnableUpdate;
};

extern template class ValueManager<short>;
extern template class ValueManager<unsigned short>;
extern template class ValueManager<int>;
extern template class ValueManager<unsigned int>;
extern template class ValueManager<long>;
extern template class ValueManager<unsigned long>;
extern template class ValueManager<float>;
extern template class ValueManager<double>;
extern template class ValueManager<long double>;

#endif  // VEKTORLING_TOOL_VALUEMANAGER_H
