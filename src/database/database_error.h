#pragma once
// The error type of the material table's storage.

#include "common/error.h"

namespace quorrel {

//! Any failure of the table engine: a file that is missing, unreadable or not a material
//! table, a failed query, or a record the table refuses. Kept apart from other errors so
//! that the material lists can report it as a bad table file.
class DatabaseError : public QuorrelError {
 public:
  using QuorrelError::QuorrelError;
};

}  // namespace quorrel
