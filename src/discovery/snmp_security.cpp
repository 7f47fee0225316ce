#include "discovery/snmp_security.h"

#include <strings.h>

#include <utility>

namespace drovik::discovery {
namespace {

// usmHMACMD5AuthProtocol and the others of RFC 3414, 3826 and 7860, by number.
const std::vector<oid> kMd5{1, 3, 6, 1, 6, 3, 10, 1, 1, 2};
const std::vector<oid> kSha1{1, 3, 6, 1, 6, 3, 10, 1, 1, 3};
const std::vector<oid> kSha256{1, 3, 6, 1, 6, 3, 10, 1, 1, 5};
const std::vector<oid> kDes{1, 3, 6, 1, 6, 3, 10, 1, 2, 2};
const std::vector<oid> kAes128{1, 3, 6, 1, 6, 3, 10, 1, 2, 4};

bool named(const std::string& given, const char* name) {
  return ::strcasecmp(given.c_str(), name) == 0;
}

const std::vector<oid>* authProtocolNamed(const std::string& name) {
  if (named(name, "SHA")) return &kSha1;
  if (named(name, "SHA-256")) return &kSha256;
  if (named(name, "MD5")) return &kMd5;
  return nullptr;
}

const std::vector<oid>* privProtocolNamed(const std::string& name) {
  if (named(name, "AES")) return &kAes128;
  if (named(name, "DES")) return &kDes;
  return nullptr;
}

Result<std::vector<u_char>> keyFrom(const SnmpLibrary& library, const std::vector<oid>& hash,
                                    const std::string& passphrase, const char* what) {
  if (passphrase.size() < USM_LENGTH_P_MIN)
    return Error{std::string("SNMPv3 の") + what + "のパスフレーズが短すぎます（USM では " +
                 std::to_string(USM_LENGTH_P_MIN) + " バイト以上）"};
  std::vector<u_char> key(USM_AUTH_KU_LEN);
  std::size_t length = key.size();
  std::vector<oid> hashType = hash;  // generate_Ku takes it without const
  if (library.generateKu(hashType.data(), static_cast<u_int>(hashType.size()),
                         reinterpret_cast<const u_char*>(passphrase.data()), passphrase.size(),
                         key.data(), &length) != SNMPERR_SUCCESS)
    return Error{std::string("SNMPv3 の") + what + "の鍵をパスフレーズから作れません"};
  key.resize(length);
  return key;
}

Result<SnmpSecurity> usmSecurity(const SnmpLibrary& library, const SnmpCredentials& credentials) {
  SnmpSecurity security;
  security.version = SNMP_VERSION_3;
  security.user = credentials.user;
  if (security.user.empty()) return Error{"SNMPv3 の利用者名がありません"};
  const bool authenticates = !credentials.authPassphrase.empty();
  const bool encrypts = !credentials.privPassphrase.empty();
  if (encrypts && !authenticates) return Error{"SNMPv3 の暗号化には認証のパスフレーズも要ります"};
  if (!authenticates) return security;
  const std::vector<oid>* auth = authProtocolNamed(credentials.authProtocol);
  if (!auth)
    return Error{"SNMPv3 の認証方式「" + credentials.authProtocol +
                 "」は使えません（SHA、SHA-256、MD5 のどれか）"};
  auto authKey = keyFrom(library, *auth, credentials.authPassphrase, "認証");
  if (!authKey) return authKey.error();
  security.level = SNMP_SEC_LEVEL_AUTHNOPRIV;
  security.authProtocol = *auth;
  security.authKey = std::move(*authKey);
  if (!encrypts) return security;
  const std::vector<oid>* priv = privProtocolNamed(credentials.privProtocol);
  if (!priv)
    return Error{"SNMPv3 の暗号化方式「" + credentials.privProtocol +
                 "」は使えません（AES、DES のどちらか）"};
  // The privacy key is made with the authentication protocol's hash, as USM says.
  auto privKey = keyFrom(library, *auth, credentials.privPassphrase, "暗号化");
  if (!privKey) return privKey.error();
  security.level = SNMP_SEC_LEVEL_AUTHPRIV;
  security.privProtocol = *priv;
  security.privKey = std::move(*privKey);
  return security;
}

}  // namespace

Result<SnmpSecurity> snmpSecurity(const SnmpLibrary& library, const SnmpCredentials& credentials) {
  if (credentials.version == SnmpCredentials::Version::V3) return usmSecurity(library, credentials);
  if (credentials.community.empty()) return Error{"SNMP のコミュニティ名がありません"};
  SnmpSecurity security;
  security.community = credentials.community;
  return security;
}

void SnmpSecurity::applyTo(netsnmp_session& session) const {
  session.version = version;
  if (version != SNMP_VERSION_3) {
    session.community = reinterpret_cast<u_char*>(const_cast<char*>(community.data()));
    session.community_len = community.size();
    return;
  }
  session.securityModel = SNMP_SEC_MODEL_USM;
  session.securityName = const_cast<char*>(user.c_str());
  session.securityNameLen = user.size();
  session.securityLevel = level;
  if (!authProtocol.empty()) {
    session.securityAuthProto = const_cast<oid*>(authProtocol.data());
    session.securityAuthProtoLen = authProtocol.size();
    std::copy(authKey.begin(), authKey.end(), session.securityAuthKey);
    session.securityAuthKeyLen = authKey.size();
  }
  if (!privProtocol.empty()) {
    session.securityPrivProto = const_cast<oid*>(privProtocol.data());
    session.securityPrivProtoLen = privProtocol.size();
    std::copy(privKey.begin(), privKey.end(), session.securityPrivKey);
    session.securityPrivKeyLen = privKey.size();
  }
}

SweepUsers::SweepUsers(const SnmpLibrary& library, std::string user)
    : library_(library), user_(std::move(user)) {}

SweepUsers::~SweepUsers() {
  for (const std::string& engineId : engines_) drop(engineId);
}

void SweepUsers::claim(const std::string& engineId) {
  if (engines_.insert(engineId).second) drop(engineId);
}

void SweepUsers::drop(const std::string& engineId) {
  const auto* engine = reinterpret_cast<const u_char*>(engineId.data());
  if (usmUser* stale = library_.usmGetUser(engine, engineId.size(), user_.c_str())) {
    library_.usmRemoveUser(stale);
    library_.usmFreeUser(stale);
  }
}

}  // namespace drovik::discovery
