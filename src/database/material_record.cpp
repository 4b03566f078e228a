#include "database/material_record.h"

#include <algorithm>

#include "database/database_error.h"

namespace quorrel {

namespace {

//! Characters of a UTF-8 text: every byte that does not continue a sequence.
std::size_t CharacterCount(std::string_view text) {
  return static_cast<std::size_t>(std::count_if(text.begin(), text.end(), [](char c) {
    return (static_cast<unsigned char>(c) & 0xC0) != 0x80;
  }));
}

void RequireValue(std::string_view field, const std::string& value) {
  if (value.empty()) {
    throw DatabaseError("Field '" + std::string(field) + "' must have a value");
  }
}

void RequireFit(std::string_view field, const std::string& value, int size) {
  if (CharacterCount(value) > static_cast<std::size_t>(size)) {
    throw DatabaseError("Field '" + std::string(field) + "' holds more than " +
                        std::to_string(size) + " characters");
  }
}

}  // namespace

std::string_view MaterialKindText(MaterialKind kind) {
  return kind == MaterialKind::Element ? "ELEMENT" : "COMPOUND";
}

std::optional<MaterialKind> MaterialKindFromText(std::string_view text) {
  if (text == "ELEMENT") return MaterialKind::Element;
  if (text == "COMPOUND") return MaterialKind::Compound;
  return std::nullopt;
}

void ValidateMaterialRecord(const MaterialRecord& record) {
  RequireValue("name", record.name);
  RequireValue("weight", record.weight);
  RequireValue("density", record.density);
  RequireFit("name", record.name, kNameSize);
  RequireFit("weight", record.weight, kValueSize);
  RequireFit("density", record.density, kValueSize);
  RequireFit("delta", record.delta, kValueSize);
  RequireFit("beta", record.beta, kValueSize);
  RequireFit("b_coh", record.b_coh, kValueSize);
  RequireFit("abs_xs", record.abs_xs, kValueSize);
}

std::string MaterialCaption(const MaterialRecord& record) {
  return record.info1.empty() ? record.name : "* " + record.name;
}

}  // namespace quorrel
