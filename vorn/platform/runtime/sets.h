// Small bit sets over enumerations, as the component model uses them for
// shift states, font styles, grid options and the like.
#pragma once

#include <cstdint>
#include <initializer_list>
#include <type_traits>

namespace vorn {

// TSet<E> holds members of an unscoped enumeration whose ordinals lie in
// 0..63. It reads like the set type of the component model:
//   TFontStyles s{fsBold, fsItalic};  if (s.Contains(fsBold)) ...
template <typename E>
class TSet {
  static_assert(std::is_enum_v<E>, "TSet is a set of enumerators");

 public:
  constexpr TSet() = default;
  constexpr TSet(E e) : bits_(Bit(e)) {}  // NOLINT: a single member converts
  constexpr TSet(std::initializer_list<E> items) {
    for (E e : items) bits_ |= Bit(e);
  }

  [[nodiscard]] constexpr bool Contains(E e) const { return (bits_ & Bit(e)) != 0; }
  [[nodiscard]] constexpr bool Empty() const { return bits_ == 0; }
  [[nodiscard]] constexpr std::uint64_t Bits() const { return bits_; }
  static constexpr TSet FromBits(std::uint64_t bits) {
    TSet s;
    s.bits_ = bits;
    return s;
  }

  constexpr TSet& Include(E e) {
    bits_ |= Bit(e);
    return *this;
  }
  constexpr TSet& Exclude(E e) {
    bits_ &= ~Bit(e);
    return *this;
  }

  constexpr TSet operator+(TSet o) const { return FromBits(bits_ | o.bits_); }
  constexpr TSet operator-(TSet o) const { return FromBits(bits_ & ~o.bits_); }
  constexpr TSet operator*(TSet o) const { return FromBits(bits_ & o.bits_); }
  constexpr TSet& operator+=(TSet o) {
    bits_ |= o.bits_;
    return *this;
  }
  constexpr TSet& operator-=(TSet o) {
    bits_ &= ~o.bits_;
    return *this;
  }
  constexpr bool operator==(const TSet&) const = default;

 private:
  static constexpr std::uint64_t Bit(E e) {
    return std::uint64_t{1} << static_cast<unsigned>(e);
  }
  std::uint64_t bits_ = 0;
};

}  // namespace vorn
