#pragma once
// Ownership of every object the script's instructions create. Registry entries and other objects
// (a particle system's sprite image, a 2D blob field's grid) only point at them; this is where they
// are freed: by freeimage, freetexture and a repeated make2dblobs when nothing else still uses them,
// and otherwise when the show is thrown away.

#include <memory>
#include <vector>

#include "fx/blob_system.h"
#include "fx/blobs_2d.h"
#include "fx/image.h"
#include "fx/particle_system.h"
#include "gfx/loaded_texture.h"
#include "scene/scene.h"

namespace demo {

class MusicPlayer;
struct Module;

class ShowObjects {
 public:
  explicit ShowObjects(MusicPlayer& music) : music_(music) {}
  ~ShowObjects();
  ShowObjects(const ShowObjects&) = delete;
  ShowObjects& operator=(const ShowObjects&) = delete;

  Image* keep(std::unique_ptr<Image> image);
  LoadedTexture* keep(std::unique_ptr<LoadedTexture> texture);
  Scene* keep(std::unique_ptr<Scene> scene);
  ParticleSystem* keep(std::unique_ptr<ParticleSystem> system);
  BlobSystem* keep(std::unique_ptr<BlobSystem> system);
  Blobs2D* keep(std::unique_ptr<Blobs2D> field);
  // Modules are freed through the music player, which made them.
  Module* keep(Module* module);

  // Frees the image unless a particle system or a 2D blob field still draws it; then it stays until
  // the show ends (its registry entry is nulled either way, by the caller).
  void release(Image* image);
  // Releases the device texture and frees the record unless an image still reads the texture.
  void release(LoadedTexture* texture);
  void release(Blobs2D* field);
  // After the music player has freed the module itself (end).
  void forget(Module* module);

  bool imageInUse(const Image* image) const;
  bool textureInUse(const Texture* texture) const;

 private:
  struct TextureRelease {
    void operator()(LoadedTexture* texture) const;
  };

  MusicPlayer& music_;
  // Declared in dependency order: what is destroyed first may point at what is destroyed later.
  std::vector<std::unique_ptr<LoadedTexture, TextureRelease>> textures_;
  std::vector<std::unique_ptr<Image>> images_;
  std::vector<std::unique_ptr<ParticleSystem>> particleSystems_;
  std::vector<std::unique_ptr<BlobSystem>> blobSystems_;
  std::vector<std::unique_ptr<Blobs2D>> blobFields_;
  std::vector<std::unique_ptr<Scene>> scenes_;  // their nodes may hold particle systems
  std::vector<Module*> modules_;
};

}  // namespace demo
