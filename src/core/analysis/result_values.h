#pragma once

// Quantities derived from the stored results wherever they are shown, and the extreme
// values kept with the results.

namespace vortak {

struct Model;

// Axial force, positive in tension.
double axialForce(const Model& model, int e);
double axialStress(const Model& model, int e);
double axialStrain(const Model& model, int e);
double totalDisplacement(const Model& model, int n);

// Fills the 17 extremes of model.results from nodes 1..N and elements 1..M. Each starts
// from node or element 1 and is replaced only by a strictly larger (or smaller) value.
void computeExtremes(Model& model);

}  // namespace vortak
