#include "sound_rig.h"

namespace rw::test {

SoundRig::SoundRig(SoundDriver& driver, const std::vector<ZipMember>& members) {
  WriteBytes(archive, ZipBytes(members));
  sound.StartUp(driver, timer);
}

}  // namespace rw::test
