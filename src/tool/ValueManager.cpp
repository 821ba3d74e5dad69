#include "tool/ValueManager.h"

#include <type_traits>

namespace {

// a + b and a - b in T. Integers wrap round at the type's limits (through
// the unsigned type of the same width, so signed overflow stays defined);
// floating-point types add as usual.
template <typename T>
T Plus(T a, T b) {
  if constexpr (std::is_integral<T>::value) {
    using U = typename std::make_unsigned<T>::type;
    return static_cast<T>(static_cast<U>(static_cast<U>(a) + static_cast<U>(b)));
  } else {
    return a + b;
  }
}

template <typename T>
T Minus(T a, T b) {
  if constexpr (std::is_integral<T>::value) {
    using U = typename std::make_unsigned<T>::type;
    return static_cast<T>(static_cast<U>(static_cast<U>(a) - static_cast<U>(b)));
  } else {
    return a - b;
  }
}

}  // namespace

template <typename T>
ValueManager<T>::ValueManager(T min, T max, T value, int interval)
    : Min(min), Max(max), Value(value), Interval(interval), Flame(0), Swicth(true),
      EnableUpdate(true) {
  if (Min > Max) {
    const T tmp = Min;
    Min = Max;
    Max = tmp;
  }
  if (Value < Min) {
    Value = Min;
  } else if (Value > Max) {
    Value = Max;
  }
  if (Interval < 1) Interval = 1;
}

template <typename T>
void ValueManager<T>::UpdateFlame() {
  EnableUpdate = false;
  ++Flame;
  if (Flame >= Interval) {
    Flame = 0;
    EnableUpdate = true;
  }
}

template <typename T>
void ValueManager<T>::IncrementFixed() {
  if (!EnableUpdate) return;
  Value = Plus<T>(Value, T(1));
  if (Value > Max) Value = Max;
}

template <typename T>
void ValueManager<T>::DecrementFixed() {
  if (!EnableUpdate) return;
  Value = Minus<T>(Value, T(1));
  if (Value < Min) Value = Min;
}

template <typename T>
void ValueManager<T>::IncrementRing() {
  if (!EnableUpdate) return;
  Value = Plus<T>(Value, T(1));
  if (Value > Max) Value = Min;
}

template <typename T>
void ValueManager<T>::DecrementRing() {
  if (!EnableUpdate) return;
  Value = Minus<T>(Value, T(1));
  if (Value < Min) Value = Max;
}

template <typename T>
void ValueManager<T>::AdditionFixed(T d) {
  if (!EnableUpdate) return;
  Value = Plus<T>(Value, d);
  if (Value > Max) {
    Value = Max;
  } else if (Value < Min) {
    Value = Min;
  }
}

template <typename T>
void ValueManager<T>::AdditionRing(T d) {
  if (!EnableUpdate) return;
  Value = Plus<T>(Value, d);
  // One wrap of the period Max - Min + 1.
  if (Value > Max) {
    Value = Minus<T>(Minus<T>(Plus<T>(Value, Min), Max), T(1));
  } else if (Value < Min) {
    Value = Plus<T>(Minus<T>(Plus<T>(Value, Max), Min), T(1));
  }
}

template <typename T>
void ValueManager<T>::RunElevator() {
  RunElevator(T(1));
}

template <typename T>
void ValueManager<T>::RunElevator(T d) {
  if (!EnableUpdate) return;
  Value = Swicth ? Plus<T>(Value, d) : Minus<T>(Value, d);
  // The turn always lands one unit inside the bound, whatever the step.
  if (Value > Max) {
    Swicth = false;
    Value = Minus<T>(Max, T(1));
  } else if (Value < Min) {
    Swicth = true;
    Value = Plus<T>(Min, T(1));
  }
}

template class ValueManager<short>;
template class ValueManager<unsigned short>;
template class ValueManager<int>;
template class ValueManager<unsigned int>;
template class ValueManager<long>;
template class ValueManager<unsigned long>;
template class ValueManager<float>;
template class ValueManager<double>;
template class ValueManager<long double>;
