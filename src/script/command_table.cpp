#include "script/command_table.h"

#include "script/background_command.h"
#include "script/blend_modes.h"
#include "script/blob_commands.h"
#include "script/flow_commands.h"
#include "script/image_commands.h"
#include "script/image_timed_commands.h"
#include "script/music_commands.h"
#include "script/particle_commands.h"
#include "script/scene_commands.h"
#include "script/texture_commands.h"

namespace demo {

namespace {

using namespace arg;
constexpr uint32_t Img = ImageName, Tex = TextureName, Scn = SceneName, Mus = MusicName, Eff = EffectName;
constexpr uint32_t Box[] = {Eff, Float, Float, Float, Float | 2, Float | 3, Float | 4, 0};

}  // namespace

const CommandEntry commandTable[CommandCount] = {
    {"end", {0}, &EndInstruction::compile},
    {"start", {0}, &StartInstruction::compile},
    {"at", {Time, 0}, &AtInstruction::compile},
    {"selectcam", {Scn, String, 0}, &SelectCamInstruction::compile},
    {"loadmusic", {Mus | Declare, String, 0}, &LoadMusicInstruction::compile},
    {"playmusic", {Mus, 0}, &PlayMusicInstruction::compile},
    {"loadscene", {Scn | Declare, String, 0}, &LoadSceneInstruction::compile},
    {"playscene", {Scn, Signed, Signed | Speed | 2, Time, 0}, &PlaySceneInstruction::compile},
    {"loadtexture", {Tex | Declare, String, Unsigned, Unsigned, Unsigned, 0}, &LoadTextureInstruction::compile},
    {"freetexture", {Tex, 0}, &FreeTextureInstruction::compile},
    {"makeimage", {Img | Declare, Tex, Float, Float, Float | 3, Float | 4, 0}, &MakeImageInstruction::compile},
    {"freeimage", {Img, 0}, &FreeImageInstruction::compile},
    {"showimage", {Img, BlendMode, Time, 0}, &ShowImageInstruction::compile},
    {"fadeimage", {Img, Unsigned, Unsigned, Time, 0}, &FadeImageInstruction::compile},
    {"blurimage", {Img, Unsigned, Unsigned, Time, 0}, &BlurImageInstruction::compile},
    {"spackblurimage", {Img, Unsigned, Unsigned, Unsigned, Unsigned, Time, 0}, &SpackBlurImageInstruction::compile},
    {"moveimage", {Img, Float, Float | 2, Float, Float | 4, Time, 0}, &ImageFloatsInstruction::compileMove},
    {"sizeimage", {Img, Float, Float | 2, Float, Float | 4, Time, 0}, &ImageFloatsInstruction::compileSize},
    {"makeparticles", {Eff | Declare, Img, Unsigned, 0}, &MakeParticlesInstruction::compile},
    {"showparticles", {Eff, Time, 0}, &ShowParticlesInstruction::compile},
    {"partobject", {Eff, Scn, String, 0}, &PartObjectInstruction::compile},
    {"partpos", {Box[0], Box[1], Box[2], Box[3], Box[4], Box[5], Box[6], 0}, &ParticleBoxInstruction::compilePosition},
    {"partspd", {Box[0], Box[1], Box[2], Box[3], Box[4], Box[5], Box[6], 0}, &ParticleBoxInstruction::compileVelocity},
    {"partacc", {Box[0], Box[1], Box[2], Box[3], Box[4], Box[5], Box[6], 0},
     &ParticleBoxInstruction::compileAcceleration},
    {"partlife", {Eff, Float, Float, Float, 0}, &PartLifeInstruction::compile},
    {"fadebg", {Unsigned, Unsigned, Time, 0}, &FadeBgInstruction::compile},
    {"verteximage", {Img, Scn, String, Time, 0}, &VertexImageInstruction::compile},
    {"setfarplane", {Scn, Float, 0}, &SetFarPlaneInstruction::compile},
    {"makeblobs", {Eff | Declare, 0}, &MakeBlobsInstruction::compile},
    {"playblobs", {Eff | Declare, Img, Time, 0}, &PlayBlobsInstruction::compile},
    {"make2dblobs", {Eff | Declare, Img, 0}, &Make2DBlobsInstruction::compile},
    {"makegridimage", {Img | Declare, Tex, Unsigned, Unsigned, 0}, &MakeGridImageInstruction::compile},
    {"show2dblobs", {Eff, Time, 0}, &Show2DBlobsInstruction::compile},
    {"fadesalpha", {Scn, Float, Float | 2, Time, 0}, &FadeSceneAlphaInstruction::compileSolid},
    {"fadewalpha", {Scn, Float, Float | 2, Time, 0}, &FadeSceneAlphaInstruction::compileWire},
    {"showtunnel", {Scn, Img, Signed, Signed | Speed | 3, Time, 0}, &ShowTunnelInstruction::compile},
};

const CommandEntry* matchCommand(const char* text) {
  for (const CommandEntry& command : commandTable)
    if (startsWithKeyword(text, command.keyword)) return &command;
  return nullptr;
}

}  // namespace demo
