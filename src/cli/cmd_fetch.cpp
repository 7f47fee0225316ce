#include "cli/cli_support.h"
#include "cli/commands.h"
#include "cli/printer_images.h"

namespace drovik::cli {

int runFetch(const Args& args) {
  auto address = printerAddress(args);
  if (!address) return fail(address.message(), kExitUsage);
  auto paths = dataPaths(args);
  if (!paths) return fail(paths.message());
  const ProfileService service(*paths);
  // A profile to start from must exist before the printer is asked.
  if (const auto base = args.option("--base")) {
    if (auto found = service.findProfile(*base); !found) return fail(found.message());
  }
  auto images = retrieveImages(service, *paths, *address);
  if (!images) return fail(images.message());
  // From here on it is decode-nvram on the fetched images: same decoders, output and saving.
  return decodeAndShow(args, *images);
}

const Command kFetchCommand = {
    .name = "fetch",
    .options = {{"--ip", "A.B.C.D", "設定を取得する旧プリンタのアドレス", Presence::Required},
                {"--base", "NAME", "既定値の代わりに読み取りの元にする登録済みの設定"},
                {"--into", "NAME", "読み取った値を保存する設定（未登録なら新しく登録）"},
                {"--json", "", "値を JSON で出力します"}},
    .notes = "  （パスワードは標準入力から）\n",
    .run = runFetch,
};

}  // namespace drovik::cli
