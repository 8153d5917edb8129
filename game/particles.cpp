// particles.cpp - placeholder, replaced by its own work.
#include "particles.h"
void BurstParticle::randomize() {}
void BurstParticle::animate() {}
void ParticleBurst::start(Vector3) {}
void ParticleBurst::animate() {}
void DriftPoint::randomize() {}
void DriftPoint::animate() {}
void DriftField::randomize() {}
void DriftField::animate() {}
