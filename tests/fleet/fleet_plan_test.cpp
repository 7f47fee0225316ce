// Reading a fleet plan: the forms a spreadsheet saves, and every bad line named at once.
#include "fleet/fleet_plan.h"

#include <gtest/gtest.h>

#include "ini/text_codec.h"
#include "transport/ipv4_address.h"

namespace drovik::fleet {
namespace {

TEST(FleetPlan, ReadsWhatSpreadsheetsSave) {
  const auto rows = parsePlan(
      "\xEF\xBB\xBFName,Old_Printer,New_Target\r\n"
      "\r\n"
      "  本社 , 192.168.0.10 ,ftp:192.168.1.10\r\n"
      "\"倉庫,\"\"北\"\"\",10.0.0.1,\"cups:Office_Q\"\r\n"
      "受付,10.0.0.2,PARALLEL");
  ASSERT_TRUE(rows.isOk()) << rows.message();
  ASSERT_EQ(rows->size(), 3u);
  EXPECT_EQ((*rows)[0].line, 3);
  EXPECT_EQ((*rows)[0].name, "本社");
  EXPECT_EQ(transport::dottedOctets((*rows)[0].oldPrinter), "192.168.0.10");
  EXPECT_EQ((*rows)[0].target.text(), "ftp:192.168.1.10");
  EXPECT_EQ((*rows)[1].name, "倉庫,\"北\"");
  EXPECT_EQ((*rows)[1].migratedName(), "倉庫,\"北\"-M");
  EXPECT_EQ((*rows)[1].target.text(), "cups:Office_Q");
  EXPECT_EQ((*rows)[2].target.kind, transport::Target::Kind::Parallel);
}

// A plan is refused whole; each bad line is named with its own reason.
TEST(FleetPlan, RefusesEveryBadLineAtOnce) {
  const std::string longName(59, 'a');  // fits, but its "-M" copy does not
  const auto rows = parsePlan(
      "良い,10.0.0.1,cups:Office\n"          // 1
      "アドレス,10.0.0.256,parallel\n"       // 2
      "送信先,10.0.0.1,usb:1\n"              // 3
      "[括弧],10.0.0.1,parallel\n"           // 4
      + longName + ",10.0.0.1,parallel\n" +  // 5
      "良い,10.0.0.2,ftp:10.0.1.6\n"         // 6 same name
      "良い-m,10.0.0.3,ftp:10.0.1.7\n"       // 7 the first row's copy, as the file matches
      "項目,10.0.0.1\n"                      // 8
      "\"閉じない,10.0.0.1,parallel\n"       // 9
      "ゼロ,0.0.0.0,parallel\n"              // 10
      "キュー,10.0.0.1,cups:a/b\n"           // 11
      "ftpゼロ,10.0.0.1,ftp:0.0.0.0\n"       // 12
      "同じ先,10.0.0.1,CUPS:office\n");      // 13 the first row's printer
  ASSERT_FALSE(rows.isOk());
  for (int line = 2; line <= 13; ++line)
    EXPECT_NE(rows.message().find("計画の" + std::to_string(line) + "行目: "), std::string::npos)
        << line << "\n"
        << rows.message();
  EXPECT_EQ(rows.message().find("計画の1行目"), std::string::npos);
  EXPECT_NE(rows.message().find("1行目と重複"), std::string::npos);
  EXPECT_NE(rows.message().find("送信先「cups:office」が1行目と同じです"), std::string::npos);
  EXPECT_NE(rows.message().find("送信先「cups:office」が1行目と同じです"), std::string::npos);
  EXPECT_NE(rows.message().find("移行先の設定名「" + longName + "-M」"), std::string::npos);

  EXPECT_FALSE(parsePlan("name,old_printer,new_target\n\n").isOk());  // no rows at all
}

std::string cp932(const std::string& utf8) { return *ini::utf8ToCp932(utf8); }

// A Japanese spreadsheet saves Shift-JIS with CR LF; "表" and "ソ" end in the byte of "\".
TEST(FleetPlan, ReadsAShiftJisPlanAsJapanese) {
  const auto rows =
      parsePlan(cp932("name,old_printer,new_target\r\n"
                      "表示ソ本社,192.168.0.10,ftp:192.168.1.10\r\n"
                      "\"倉庫（北）\",10.0.0.1,cups:Office_Q\r\n"
                      "ｳｹﾂｹ,10.0.0.2,parallel\r\n"));
  ASSERT_TRUE(rows.isOk()) << rows.message();
  ASSERT_EQ(rows->size(), 3u);
  EXPECT_EQ((*rows)[0].name, "表示ソ本社");
  EXPECT_EQ((*rows)[0].line, 2);
  EXPECT_EQ((*rows)[1].name, "倉庫（北）");
  EXPECT_EQ((*rows)[2].name, "ｳｹﾂｹ");
  EXPECT_EQ((*rows)[2].line, 4);
}

// Text that is neither encoding is named by its line, never read as garbled names; a file whose
// other lines are UTF-8 (or that has the UTF-8 mark) is not taken for Shift-JIS.
TEST(FleetPlan, NamesTheLinesThatAreNeitherUtf8NorShiftJis) {
  const std::string good = cp932("本社,10.0.0.1,parallel\r\n");
  // A lead byte cut off by the line end, and a byte Shift-JIS leaves unassigned.
  const auto neither = parsePlan(good + cp932("支社") + "\x81\r\n" + "\xA0,10.0.0.3,cups:Q\r\n");
  ASSERT_FALSE(neither.isOk());
  EXPECT_EQ(neither.message(),
            "計画の2行目: UTF-8 としても Shift-JIS（CP932）としても読めない文字があります\n"
            "計画の3行目: UTF-8 としても Shift-JIS（CP932）としても読めない文字があります");

  const std::string damaged = "支\x8E社,10.0.0.2,cups:Q\n";
  for (const std::string first :
       {"本社,10.0.0.1,parallel\n", "\xEF\xBB\xBFhq,10.0.0.1,parallel\n"}) {
    const auto refused = parsePlan(first + damaged);
    ASSERT_FALSE(refused.isOk());
    EXPECT_EQ(refused.message().find("計画の1行目"), std::string::npos) << refused.message();
    EXPECT_NE(refused.message().find("行目: UTF-8 として読めない文字があります"), std::string::npos)
        << refused.message();
  }
}

// Each row's profiles are kept in a folder of its name.
TEST(FleetPlan, RefusesNamesThatCannotBeFolders) {
  const auto rows = parsePlan(
      "本社/1F,10.0.0.1,ftp:10.0.1.1\n"
      "..,10.0.0.1,ftp:10.0.1.2\n"
      ".,10.0.0.1,ftp:10.0.1.3\n"
      "a\\b,10.0.0.1,ftp:10.0.1.4\n"
      "...,10.0.0.1,ftp:10.0.1.5\n"
      ".hidden,10.0.0.1,ftp:10.0.1.6\n");
  ASSERT_FALSE(rows.isOk());
  for (int line = 1; line <= 4; ++line)
    EXPECT_NE(rows.message().find("計画の" + std::to_string(line) + "行目: 設定名「"),
              std::string::npos)
        << rows.message();
  EXPECT_NE(rows.message().find("「本社/1F」はフォルダ名に使えません"), std::string::npos);
  EXPECT_EQ(rows.message().find("計画の5行目"), std::string::npos);
  EXPECT_EQ(rows.message().find("計画の6行目"), std::string::npos);
}

}  // namespace
}  // namespace drovik::fleet
