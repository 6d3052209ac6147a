// Placeholder until the metaballs land: no blob system can be made.
#include "fx/blob_system.h"

namespace demo {

BlobSystem::~BlobSystem() = default;

void BlobSystem::drawBlobs(DeviceLayer&, float, Image&) {}

std::unique_ptr<BlobSystem> createBlobSystem(DeviceLayer&) { return nullptr; }

}  // namespace demo
