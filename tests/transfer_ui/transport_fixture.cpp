#include "transfer_ui/transport_fixture.h"

#include <QLineEdit>
#include <QPushButton>

#include "transport/ipv4_address.h"

namespace drovik::test {

namespace {

// Hands the send to the fixture's current route, which the test keeps to look at.
class ForwardingRoute final : public transport::SendRoute {
 public:
  explicit ForwardingRoute(transport::SendRoute& target) : target_(target) {}
  transport::SendOutcome send(std::span<const std::uint8_t> image,
                              transport::RunControl& control) override {
    return target_.send(image, control);
  }

 private:
  transport::SendRoute& target_;
};

}  // namespace

TransportFixture::TransportFixture()
    : store(StorePaths::inDirectory(dir.path())),
      route(std::make_unique<FakeSendRoute>(transport::SendOutcome::delivered({}))) {}

transfer_ui::TransportServices TransportFixture::services() {
  transfer_ui::TransportServices s;
  // A copy: the list is taken on a worker thread that may outlive the fixture.
  s.listPrinters = [printers = printers](transport::RunControl&) { return printers; };
  s.routes = [this](const transport::Target& target,
                    const std::filesystem::path&) -> std::unique_ptr<transport::SendRoute> {
    switch (target.kind) {
      case transport::Target::Kind::Spooler:
        asked.push_back("spooler:" + target.queue);
        break;
      case transport::Target::Kind::Network:
        asked.push_back("network:" + transport::dottedOctets(target.address));
        break;
      default:
        asked.push_back(target.text());
    }
    return std::make_unique<ForwardingRoute>(*route);
  };
  s.sent = [this](const transport::Target& target, std::span<const std::uint8_t> image,
                  const transport::SendOutcome& outcome) {
    told.push_back(target.text() + (outcome.reached() ? " sent " : " failed ") +
                   std::to_string(image.size()));
  };
  s.retrieve = [this](const Ipv4Octets& address, const std::string& password,
                      transport::RunControl&) {
    asked.push_back("retrieve:" + transport::dottedOctets(address) + ":" + password);
    // As the real retrieval: the images it left, read before it returns.
    transport::RetrievalResult result{retrieval, {}};
    if (retrieval.retrieved()) result.images = nvram::readRetrievedImages(dir.path());
    return result;
  };
  return s;
}

int clickIn(QDialog& dialog, const char* button) {
  dialog.setResult(-1);
  dialog.show();
  if (auto* target = dialog.findChild<QPushButton*>(button)) target->click();
  return dialog.isVisible() ? -1 : dialog.result();
}

void typeAddress(QDialog& dialog, const char* field, const std::vector<QString>& octets) {
  for (std::size_t i = 0; i < octets.size(); ++i) {
    const QString name = QStringLiteral("%1_%2").arg(QString::fromLatin1(field)).arg(i + 1);
    if (auto* box = dialog.findChild<QLineEdit*>(name)) box->setText(octets[i]);
  }
}

QStringList shownTexts(const ScriptedMessageBoxes& boxes) {
  QStringList texts;
  for (const auto& shown : boxes.shown) texts << shown.text;
  return texts;
}

}  // namespace drovik::test
