#pragma once
// The stack that the kernel tests and benchmarks share: alternating absorbing layers on silicon.

#include "physics/layer_stack.h"

namespace quorrel {

//! `n` layers alternating between 30 Å of rho 6.2e-6 and 45 Å of rho 1.1e-6, each absorbing and
//! 3 Å rough, on silicon with a roughness of 4 Å.
inline LayerStack AlternatingStack(int n) {
  LayerStack stack(n);
  for (int j = 1; j <= n; ++j) {
    stack.setThickness(j, j % 2 ? 30.0 : 45.0);
    stack.setRho(j, j % 2 ? 6.2e-6 : 1.1e-6);
    stack.setImRho(j, j % 2 ? 1e-9 : 3e-8);
    stack.setSigma(j, 3.0);
  }
  stack.setRho(n + 1, 2.073e-6);
  stack.setSigma(n + 1, 4.0);
  return stack;
}

}  // namespace quorrel
