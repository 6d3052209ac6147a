#include "script/show_objects.h"

#include <algorithm>

#include "music/music_player.h"

namespace demo {

namespace {

template <class T, class D>
T* keepIn(std::vector<std::unique_ptr<T, D>>& list, std::unique_ptr<T, D> object) {
  if (!object) return nullptr;
  list.push_back(std::move(object));
  return list.back().get();
}

template <class T, class D>
void eraseFrom(std::vector<std::unique_ptr<T, D>>& list, const T* object) {
  auto found = std::find_if(list.begin(), list.end(), [object](const auto& held) { return held.get() == object; });
  if (found != list.end()) list.erase(found);
}

}  // namespace

void ShowObjects::TextureRelease::operator()(LoadedTexture* texture) const {
  if (texture->texture) texture->texture->Release();
  delete texture;
}

ShowObjects::~ShowObjects() {
  for (Module* module : modules_) music_.freeModule(module);
  // Members then go in reverse order: scenes before the particle systems hung on their nodes,
  // fields and systems before the images they draw, images before the textures they were made from.
}

Image* ShowObjects::keep(std::unique_ptr<Image> image) { return keepIn(images_, std::move(image)); }

LoadedTexture* ShowObjects::keep(std::unique_ptr<LoadedTexture> texture) {
  return keepIn(textures_, std::unique_ptr<LoadedTexture, TextureRelease>(texture.release()));
}

Scene* ShowObjects::keep(std::unique_ptr<Scene> scene) { return keepIn(scenes_, std::move(scene)); }

ParticleSystem* ShowObjects::keep(std::unique_ptr<ParticleSystem> system) {
  return keepIn(particleSystems_, std::move(system));
}

BlobSystem* ShowObjects::keep(std::unique_ptr<BlobSystem> system) { return keepIn(blobSystems_, std::move(system)); }

Blobs2D* ShowObjects::keep(std::unique_ptr<Blobs2D> field) { return keepIn(blobFields_, std::move(field)); }

Module* ShowObjects::keep(Module* module) {
  if (module && std::find(modules_.begin(), modules_.end(), module) == modules_.end()) modules_.push_back(module);
  return module;
}

void ShowObjects::release(Image* image) {
  if (!imageInUse(image)) eraseFrom(images_, image);
}

void ShowObjects::release(LoadedTexture* texture) {
  if (!textureInUse(texture->texture)) eraseFrom(textures_, texture);
}

void ShowObjects::release(Blobs2D* field) { eraseFrom(blobFields_, field); }

void ShowObjects::forget(Module* module) { modules_.erase(std::remove(modules_.begin(), modules_.end(), module), modules_.end()); }

bool ShowObjects::imageInUse(const Image* image) const {
  for (const auto& system : particleSystems_)
    if (system->image == image) return true;
  for (const auto& field : blobFields_)
    if (field->grid == image) return true;
  return false;
}

bool ShowObjects::textureInUse(const Texture* texture) const {
  if (!texture) return false;
  for (const auto& image : images_)
    if (image->sourceTexture == texture) return true;
  return false;
}

}  // namespace demo
