#pragma once
// One record of the material table, its two kinds and the rules every stored record obeys.

#include <optional>
#include <string>
#include <string_view>

namespace quorrel {

//! The two kinds of material; the field `type` holds "ELEMENT" or "COMPOUND".
enum class MaterialKind { Element, Compound };

//! The text of `type` for a kind.
std::string_view MaterialKindText(MaterialKind kind);
//! The kind whose `type` text is `text`, if any.
std::optional<MaterialKind> MaterialKindFromText(std::string_view text);

//! The fields of one record, in the table's order. The six physical quantities stay text,
//! exactly as typed, and are converted only when looked up; an empty text is an empty field.
struct MaterialRecord {
  std::string name;                // required, at most 40 characters
  std::string info1;               // comment, a memo of any length
  std::optional<int> ncharge;      // Z of an element
  std::string weight;              // g/mol, required, at most 15 characters
  std::string density;             // g/cm3, required, at most 15 characters
  std::string delta;               // x-ray delta at 8047 eV
  std::string beta;                // x-ray beta at 8047 eV
  std::string b_coh;               // coherent scattering length, fm
  std::string abs_xs;              // absorption cross-section at 2200 m/s, barn
  MaterialKind type = MaterialKind::Element;
  std::optional<int> ID;           // record number

  friend bool operator==(const MaterialRecord&, const MaterialRecord&) = default;
};

//! Limits of the text fields, in characters.
inline constexpr int kNameSize = 40;
inline constexpr int kValueSize = 15;

//! Refuses a record the table must not hold: an empty required field ("Field 'name' must
//! have a value") or a text longer than its field. Throws DatabaseError.
void ValidateMaterialRecord(const MaterialRecord& record);

//! The menu caption: the name, with "* " before it when the comment is not empty.
std::string MaterialCaption(const MaterialRecord& record);

}  // namespace quorrel
