#include "model/profile_steps.h"

#include "common/error.h"

namespace quorrel {

void ExpandProfileFunction(const SampleModel&, LayerStack&, BuildNotes*) {
  throw QuorrelError("the analytical profile type is not available in this build");
}

}  // namespace quorrel
