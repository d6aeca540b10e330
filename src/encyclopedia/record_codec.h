// Reading and writing records through their layout tables
// (record_layouts.h). A table lists a record's fields; the member type of a
// field says how its bytes are read:
//   int16_t        2 bytes, little-endian, signed
//   uint8_t        1 byte
//   std::string    `text_width` bytes of Windows-1252, cut at the first NUL
//   a block        a struct with a layout table of its own, kSize bytes
//   std::array     its elements one after another (texts `text_width` each)
#pragma once

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <stdexcept>
#include <string>
#include <string_view>
#include <tuple>
#include <type_traits>
#include <utility>

#include "util/text_decoding.h"

namespace statcrane {

using RecordBytes = std::span<const uint8_t>;
using MutableRecordBytes = std::span<uint8_t>;

// RecordLayout<Record>::kFields: a tuple of Field<Record, ...>, one per field
// the program reads.
template <typename Record>
struct RecordLayout;

// One field of `Record`: `offset` bytes into the record, held in `member`.
template <typename Record, typename Member>
struct Field {
  std::string_view name;
  size_t offset;
  Member Record::*member;
  size_t text_width = 0;  // texts, and arrays of texts, only
};

template <typename Record, typename Member>
constexpr Field<Record, Member> MakeField(std::string_view name, size_t offset,
                                          Member Record::*member, size_t text_width = 0) {
  return Field<Record, Member>{name, offset, member, text_width};
}

template <typename T>
concept HasLayout = requires {
  RecordLayout<T>::kFields;
};

// How a value of type T is read from and written to bytes.
template <typename T>
struct FieldCodec;

template <>
struct FieldCodec<int16_t> {
  static constexpr size_t Width(size_t) { return 2; }
  static void Decode(const uint8_t* b, size_t, int16_t& value) {
    value = static_cast<int16_t>(static_cast<uint16_t>(b[0] | (b[1] << 8)));
  }
  static void Encode(int16_t value, size_t, uint8_t* b) {
    const auto v = static_cast<uint16_t>(value);
    b[0] = static_cast<uint8_t>(v & 0xFF);
    b[1] = static_cast<uint8_t>(v >> 8);
  }
};

template <>
struct FieldCodec<uint8_t> {
  static constexpr size_t Width(size_t) { return 1; }
  static void Decode(const uint8_t* b, size_t, uint8_t& value) { value = b[0]; }
  static void Encode(uint8_t value, size_t, uint8_t* b) { b[0] = value; }
};

template <>
struct FieldCodec<std::string> {
  static constexpr size_t Width(size_t text_width) { return text_width; }
  static void Decode(const uint8_t* b, size_t text_width, std::string& value) {
    value = DecodeFixedText(b, text_width);
  }
  static void Encode(const std::string& value, size_t text_width, uint8_t* b) {
    EncodeFixedText(value, b, text_width);
  }
};

template <typename T, size_t N>
struct FieldCodec<std::array<T, N>> {
  static constexpr size_t Width(size_t text_width) { return N * FieldCodec<T>::Width(text_width); }
  static void Decode(const uint8_t* b, size_t text_width, std::array<T, N>& value) {
    for (size_t i = 0; i < N; ++i) {
      FieldCodec<T>::Decode(b + i * FieldCodec<T>::Width(text_width), text_width, value[i]);
    }
  }
  static void Encode(const std::array<T, N>& value, size_t text_width, uint8_t* b) {
    for (size_t i = 0; i < N; ++i) {
      FieldCodec<T>::Encode(value[i], text_width, b + i * FieldCodec<T>::Width(text_width));
    }
  }
};

template <typename Record>
void DecodeFields(const uint8_t* bytes, Record& record);
template <typename Record>
void EncodeFields(const Record& record, uint8_t* bytes);

template <HasLayout Block>
struct FieldCodec<Block> {
  static constexpr size_t Width(size_t) { return Block::kSize; }
  static void Decode(const uint8_t* b, size_t, Block& value) { DecodeFields(b, value); }
  static void Encode(const Block& value, size_t, uint8_t* b) { EncodeFields(value, b); }
};

// The bytes a field takes in the record.
template <typename Record, typename Member>
constexpr size_t FieldWidth(const Field<Record, Member>& field) {
  return FieldCodec<Member>::Width(field.text_width);
}

// Every field of the record's table, read from `bytes` (kSize bytes).
template <typename Record>
void DecodeFields(const uint8_t* bytes, Record& record) {
  std::apply(
      [&](const auto&... field) {
        ((FieldCodec<std::remove_cvref_t<decltype(record.*field.member)>>::Decode(
             bytes + field.offset, field.text_width, record.*field.member)),
         ...);
      },
      RecordLayout<Record>::kFields);
}

// Every field of the record's table, written into `bytes` (kSize bytes);
// other bytes are left as they are.
template <typename Record>
void EncodeFields(const Record& record, uint8_t* bytes) {
  std::apply(
      [&](const auto&... field) {
        ((FieldCodec<std::remove_cvref_t<decltype(record.*field.member)>>::Encode(
             record.*field.member, field.text_width, bytes + field.offset)),
         ...);
      },
      RecordLayout<Record>::kFields);
}

// The record's size, checked: std::invalid_argument names the record type.
void CheckRecordSize(size_t got, size_t size, std::string_view record);

template <typename Record>
Record DecodeRecord(RecordBytes bytes, std::string_view record_name) {
  CheckRecordSize(bytes.size(), Record::kSize, record_name);
  Record record;
  DecodeFields(bytes.data(), record);
  return record;
}

template <typename Record>
void EncodeRecord(const Record& record, MutableRecordBytes bytes, std::string_view record_name) {
  CheckRecordSize(bytes.size(), Record::kSize, record_name);
  std::fill(bytes.begin(), bytes.end(), uint8_t{0});
  EncodeFields(record, bytes.data());
}

template <typename T>
struct MemberPointer;
template <typename Record, typename Member>
struct MemberPointer<Member Record::*> {
  using RecordType = Record;
  using MemberType = Member;
};

template <typename A, typename B>
constexpr bool SameMember(A a, B b) {
  if constexpr (std::is_same_v<A, B>) {
    return a == b;
  } else {
    return false;
  }
}

// The position of `kMember` in its record's layout table.
template <auto kMember>
constexpr size_t FieldIndex() {
  using Record = typename MemberPointer<decltype(kMember)>::RecordType;
  constexpr auto& fields = RecordLayout<Record>::kFields;
  constexpr size_t kCount = std::tuple_size_v<std::remove_cvref_t<decltype(fields)>>;
  size_t index = kCount;
  [&]<size_t... I>(std::index_sequence<I...>) {
    ((index = index == kCount && SameMember(std::get<I>(fields).member, kMember) ? I : index), ...);
  }
  (std::make_index_sequence<kCount>{});
  return index;
}

// One field of a record, read alone: DecodeField<&PlayerStatsRecord::
// player_id>(bytes), where `bytes` holds the whole record. The member must be
// listed in the record's table.
template <auto kMember>
auto DecodeField(RecordBytes bytes) {
  using Traits = MemberPointer<decltype(kMember)>;
  using Record = typename Traits::RecordType;
  constexpr auto& fields = RecordLayout<Record>::kFields;
  constexpr size_t kIndex = FieldIndex<kMember>();
  static_assert(kIndex < std::tuple_size_v<std::remove_cvref_t<decltype(fields)>>,
                "the member is not in its record's layout table");
  constexpr auto field = std::get<kIndex>(fields);
  typename Traits::MemberType value{};
  FieldCodec<typename Traits::MemberType>::Decode(bytes.data() + field.offset, field.text_width,
                                                  value);
  return value;
}

}  // namespace statcrane
