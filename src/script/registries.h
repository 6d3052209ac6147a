#pragma once
// The five object registries and the label list of one show. Labels and objects are separate name
// spaces; each registry holds one kind of object, except the effect registry, which holds particle
// systems, blob systems and 2D blob fields under one set of names.

#include <cstdint>
#include <variant>

#include "script/name_registry.h"

namespace demo {

class Image;
class Scene;
class ParticleSystem;
class BlobSystem;
class Blobs2D;
struct LoadedTexture;
struct Module;

// The effect registry records which kind of object it holds: a command that finds another kind
// than its own acts on nothing instead of reading one kind of object as another.
using EffectObject = std::variant<std::monostate, ParticleSystem*, BlobSystem*, Blobs2D*>;

using ImageEntry = NameEntry<Image*>;
using TextureEntry = NameEntry<LoadedTexture*>;
using SceneEntry = NameEntry<Scene*>;
using MusicEntry = NameEntry<Module*>;
using EffectEntry = NameEntry<EffectObject>;
using LabelEntry = NameEntry<int32_t>;  // the label's time in ms; -1 before any start or at

struct Registries {
  NameList<Image*> images;
  NameList<LoadedTexture*> textures;
  NameList<Scene*> scenes;
  NameList<Module*> music;
  NameList<EffectObject> effects;
  NameList<int32_t> labels;
};

// The entry's object when it is of kind T, else null.
template <class T>
T* effectAs(const EffectEntry* entry) {
  if (!entry) return nullptr;
  T* const* held = std::get_if<T*>(&entry->object);
  return held ? *held : nullptr;
}

}  // namespace demo
