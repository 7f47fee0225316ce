#include "hostile/complete_profile.h"

namespace drovik::hostile {

ProfileModel completeProfile(int seed) {
  static const char* const kMargins[] = {"8.5", "6.4", "0.0", "-3", "12.7", "254.0"};
  ProfileModel model;
  for (int u = 0; u < cat::kUserCount; ++u) {
    for (int i = 0; i < cat::kPaperItemCount; ++i) {
      const cat::Item& item = cat::paperItems()[i];
      if (item.values) model.setPaperIndex(u, i, (seed + u + i) % item.values->size());
    }
    for (int m = 0; m < cat::kMarginCount; ++m)
      model.setMargin(u, cat::kMarginPaperItems[m], kMargins[(seed + u + m) % 6]);
    for (int i = 0; i < cat::kCommonItemCount; ++i)
      model.setCommonIndex(u, i, (seed + u + 2 * i) % cat::commonItems()[i].values->size());
    model.setUserName(u, "ｶﾅ" + std::to_string(seed) + "-" + std::to_string(u));
  }
  model.setSelectUser((seed + 1) % cat::kUserCount);
  model.setIfChgTime(30 + seed);
  for (int octet = 0; octet < 4; ++octet) model.setOctet(cat::kIpAddress, octet, seed + octet);
  for (int n = 0; n < cat::kCheckNodeCount; ++n) model.flags.state[n] = (n + seed) % 5 == 0 ? 0 : 1;
  model.refreshAndSnapshotCheckFlagTexts();
  model.markAllForWriting();
  return model;
}

}  // namespace drovik::hostile
