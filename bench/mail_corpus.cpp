#include "bench/mail_corpus.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <iterator>
#include <random>
#include <vector>

#include "platform/codepage.h"
#include "tests/dbx/dbx_writer.h"

namespace vorn::bench {
namespace {

const char* const kNouns[] = {
    "会議", "資料", "予定", "報告書", "見積書", "請求書", "打ち合わせ", "案件", "進捗", "仕様", "修正", "確認",
    "担当者", "部長", "課長", "営業部", "開発部", "総務部", "来週", "今週", "明日", "本日", "先日", "月曜日",
    "水曜日", "金曜日", "午前中", "午後", "会議室", "東京", "大阪", "名古屋", "福岡", "出張", "新幹線", "ホテル",
    "予算", "契約", "発注", "納品", "納期", "製品", "新製品", "サービス", "システム", "サーバー", "ネットワーク",
    "データ", "ファイル", "メール", "添付ファイル", "パスワード", "ホームページ", "写真", "旅行", "温泉", "花見",
    "忘年会", "飲み会", "誕生日", "家族", "子供", "週末", "連休", "天気", "桜", "健康", "風邪", "結果", "問題",
    "原因", "対応", "対策", "改善", "提案", "企画", "計画", "目標", "売上", "費用", "経費", "価格", "条件", "内容",
    "詳細", "概要", "日程", "場所", "時間", "期限", "変更", "追加", "更新", "手続き", "申請", "承認", "連絡",
    "返信", "質問", "回答", "意見", "お客様", "取引先", "関係者", "皆様", "社内", "本社", "支店", "工場", "商品",
    "在庫", "注文", "配送", "振込", "書類", "原稿", "記事", "番組", "料理", "駅", "電車", "お店", "準備", "作業",
    "検討", "調査", "見直し", "テスト", "バージョン", "パソコン", "プリンター", "ソフト", "インストール", "設定"};
const char* const kParticles[] = {"は", "が", "を", "に", "で", "と", "の", "も", "から", "まで", "について",
                                  "に関して", "として", "へ", "の", "を", "は", "に"};
const char* const kVerbs[] = {
    "確認します", "送付いたします", "お送りします", "ご連絡いたします", "検討します", "対応いたします",
    "修正しました", "変更しました", "追加しました", "準備しております", "予定しております", "考えております",
    "思います", "いただけますでしょうか", "ください", "お願いいたします", "存じます", "参加します",
    "出席します", "伺います", "届きました", "受け取りました", "拝見しました", "完了しました", "進めております",
    "調整いたします", "手配いたします", "決まりました", "わかりました", "承知いたしました", "助かります",
    "楽しみにしています", "行ってきました", "見てきました", "あります", "ありません", "なります", "できます",
    "いたします", "しました"};
const char* const kAdverbs[] = {"大変", "少し", "非常に", "ぜひ", "とても", "早めに", "至急", "念のため",
                                "改めて", "引き続き", "先ほど", "今回", "なお、", "また、", "ただ、", "とりあえず"};
const char* const kAdjectives[] = {"新しい", "大きな", "詳しい", "簡単な", "重要な", "必要な", "便利な",
                                   "楽しい", "正式な", "最新の", "前回の", "別の"};
const char* const kOpenings[] = {"いつもお世話になっております。", "お疲れ様です。", "ご無沙汰しております。",
                                 "先日はありがとうございました。", "こんにちは。", "早速のご返信ありがとうございます。"};
const char* const kClosings[] = {"よろしくお願いいたします。", "以上、よろしくお願いします。",
                                 "取り急ぎご連絡まで。", "ご確認のほどよろしくお願いいたします。",
                                 "何卒よろしくお願い申し上げます。",
                                 "ご不明な点がございましたらご連絡ください。", "今後ともよろしくお願いいたします。"};
const char* const kFamilyNames[] = {"山田", "佐藤", "鈴木", "高橋", "田中", "伊藤", "渡辺", "中村", "小林", "加藤",
                                    "吉田", "山本", "松本", "井上", "木村", "林", "清水", "山口", "森", "池田"};
const char* const kFamilyRomaji[] = {"yamada", "sato",  "suzuki",   "takahashi", "tanaka",    "ito",   "watanabe",
                                     "nakamura", "kobayashi", "kato", "yoshida", "yamamoto", "matsumoto", "inoue",
                                     "kimura", "hayashi", "shimizu", "yamaguchi", "mori", "ikeda"};
const char* const kGivenNames[] = {"太郎", "花子", "一郎", "健二", "裕子", "直樹", "美穂", "誠", "恵子", "大輔",
                                   "由美", "浩", "明美", "翔", "さくら"};
const char* const kCompanies[] = {"株式会社サンプル", "有限会社テスト商事", "日本データ株式会社",
                                  "東西システム株式会社", "株式会社みなと企画", "北日本物産株式会社"};
const char* const kDomains[] = {"example.co.jp", "sample.ne.jp", "test.or.jp", "minato.example.jp",
                                "kita.example.com", "isp.example.ne.jp"};
const char* const kDepartments[] = {"営業部", "開発部", "総務部", "企画室", "技術部"};
const char* const kDays[] = {"Mon", "Tue", "Wed", "Thu", "Fri", "Sat", "Sun"};
const char* const kMonths[] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun", "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
const char* const kEnglish[] = {"Dear customer,", "Thank you for your order.", "Please find the attached file.",
                                "Your account has been updated.", "Click here to unsubscribe.",
                                "This is an automatically generated message.", "Best regards,",
                                "Limited time offer!", "Please do not reply to this mail."};
const char kBase64[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";

// Code page 932 text in ISO-2022-JP, as mail carries it: JIS X 0208 between ESC $ B and ESC ( B.
std::string ToIso2022Jp(const std::string& utf8) {
  const std::string sjis = Utf8ToCp932(utf8);
  std::string out;
  bool kanji = false;
  for (size_t i = 0; i < sjis.size(); ++i) {
    auto c1 = static_cast<unsigned char>(sjis[i]);
    const bool lead = (c1 >= 0x81 && c1 <= 0x9F) || (c1 >= 0xE0 && c1 <= 0xFC);
    if (lead && i + 1 < sjis.size()) {
      auto c2 = static_cast<unsigned char>(sjis[++i]);
      if (!kanji) out += "\x1b$B";
      kanji = true;
      if (c1 >= 0xE0) c1 -= 0x40;
      c1 = static_cast<unsigned char>((c1 - 0x81) * 2 + 0x21);
      if (c2 >= 0x9F) {
        ++c1;
        c2 -= 0x7E;
      } else {
        c2 -= c2 >= 0x80 ? 0x20 : 0x1F;
      }
      out += static_cast<char>(c1);
      out += static_cast<char>(c2);
    } else {
      if (kanji) out += "\x1b(B";
      kanji = false;
      out += static_cast<char>(c1);
    }
  }
  if (kanji) out += "\x1b(B";
  return out;
}

std::string Base64(const std::string& bytes) {
  std::string out;
  for (size_t i = 0; i < bytes.size(); i += 3) {
    uint32_t v = static_cast<unsigned char>(bytes[i]) << 16;
    if (i + 1 < bytes.size()) v |= static_cast<unsigned char>(bytes[i + 1]) << 8;
    if (i + 2 < bytes.size()) v |= static_cast<unsigned char>(bytes[i + 2]);
    out += kBase64[v >> 18];
    out += kBase64[(v >> 12) & 63];
    out += i + 1 < bytes.size() ? kBase64[(v >> 6) & 63] : '=';
    out += i + 2 < bytes.size() ? kBase64[v & 63] : '=';
  }
  return out;
}

std::string EncodedWord(const std::string& utf8) { return "=?iso-2022-jp?B?" + Base64(ToIso2022Jp(utf8)) + "?="; }

struct Person {
  std::string family, given, romaji, company, department, address;
  std::vector<std::string> signature;
};

struct Thread {
  std::string subject;
  std::vector<std::string> lastBody;  // UTF-8 lines of the last message, for quoting
  std::string lastFrom, lastDate;
};

class Writer {
 public:
  explicit Writer(unsigned seed) : random_(seed) {
    for (int i = 0; i < 40; ++i) people_.push_back(MakePerson());
  }

  // One raw message of the kind picked.
  std::string Message(int kind) {
    time_ += 600 + random_() % 20000;
    if (kind < 6) return Magazine();
    if (kind < 14) return English();
    return Business(kind % 2 == 0, kind >= 35);
  }

 private:
  size_t Zipf(size_t n) {
    // Ranks drawn with weight 1 / (rank + 1), so that a few words are common and most are rare.
    std::uniform_real_distribution<double> u(0.0, 1.0);
    const double x = std::pow(static_cast<double>(n + 1), u(random_)) - 1.0;
    return std::min(n - 1, static_cast<size_t>(x));
  }
  template <typename List>
  std::string Pick(const List& list) {
    return list[Zipf(std::size(list))];
  }
  template <typename List>
  std::string Any(const List& list) {
    return list[random_() % std::size(list)];
  }

  Person MakePerson() {
    Person p;
    const size_t family = random_() % std::size(kFamilyNames);
    p.family = kFamilyNames[family];
    p.romaji = kFamilyRomaji[family];
    p.given = Any(kGivenNames);
    p.company = Any(kCompanies);
    p.department = Any(kDepartments);
    p.address = p.romaji + "@" + Any(kDomains);
    const std::string rule(25 + random_() % 30, '-');
    p.signature = {rule, p.company + " " + p.department, p.family + " " + p.given,
                   "〒" + std::to_string(100 + random_() % 800) + "-" + std::to_string(1000 + random_() % 9000) +
                       " 東京都千代田区" + std::to_string(1 + random_() % 9) + "-" + std::to_string(1 + random_() % 20),
                   "TEL: 03-" + std::to_string(1000 + random_() % 9000) + "-" + std::to_string(1000 + random_() % 9000),
                   "E-mail: " + p.address, rule};
    return p;
  }

  std::string Sentence() {
    if (random_() % 6 == 0) return Any(kClosings);
    std::string s = random_() % 3 == 0 ? Pick(kAdverbs) : "";
    for (int chunk = 0, n = 1 + static_cast<int>(random_() % 3); chunk < n; ++chunk) {
      if (random_() % 4 == 0) s += Pick(kAdjectives);
      s += Pick(kNouns) + Pick(kParticles);
      if (random_() % 7 == 0) s += std::to_string(1 + random_() % 12) + "月" + std::to_string(1 + random_() % 28) + "日";
      if (random_() % 5 == 0) s += "、";
    }
    return s + Pick(kVerbs) + "。";
  }

  // Lines of about 35 full-width characters, as the mail program wraps them.
  std::vector<std::string> Paragraph() {
    std::vector<std::string> lines;
    std::string line;
    for (int i = 0, n = 1 + static_cast<int>(random_() % 4); i < n; ++i) {
      line += Sentence();
      if (line.size() > 60) {
        lines.push_back(line);
        line.clear();
      }
    }
    if (!line.empty()) lines.push_back(line);
    return lines;
  }

  std::string Date() const {
    const int64_t days = time_ / 86400;
    const int64_t secs = time_ % 86400;
    // Days since 2003-01-01 (a Wednesday), on a 30-day month calendar: dates only need to look right.
    char date[64];
    std::snprintf(date, sizeof date, "%s, %d %s %d %02d:%02d:%02d +0900", kDays[(days + 2) % 7],
                  static_cast<int>(days % 28 + 1), kMonths[(days / 30) % 12], static_cast<int>(2003 + days / 360),
                  static_cast<int>(secs / 3600), static_cast<int>(secs / 60 % 60), static_cast<int>(secs % 60));
    return date;
  }

  std::string Headers(const Person& from, const std::string& to, const std::string& subject,
                      const std::string& contentType) {
    const std::string date = Date();
    std::string h = "Return-Path: <" + from.address + ">\r\n";
    for (int hop = 0, hops = 1 + static_cast<int>(random_() % 3); hop < hops; ++hop)
      h += "Received: from mail" + std::to_string(random_() % 30) + "." + from.address.substr(from.address.find('@') + 1) +
           " (mail" + std::to_string(random_() % 30) + " [192.0.2." + std::to_string(random_() % 250) +
           "])\r\n\tby mx" + std::to_string(random_() % 4) + ".isp.example.ne.jp (8.12.10/8.12.10) with ESMTP id i" +
           std::to_string(random_() % 100000000) + "\r\n\tfor <" + to + ">; " + date + "\r\n";
    char id[64];
    std::snprintf(id, sizeof id, "<%06x01c3%04x$%08x$%04x@%s>", static_cast<unsigned>(random_() & 0xFFFFFF),
                  static_cast<unsigned>(random_() & 0xFFFF), static_cast<unsigned>(random_()),
                  static_cast<unsigned>(random_() & 0xFFFF), from.romaji.c_str());
    h += std::string("Message-ID: ") + id + "\r\n";
    h += "From: \"" + EncodedWord(from.family + " " + from.given) + "\" <" + from.address + ">\r\n";
    h += "To: <" + to + ">\r\n";
    if (random_() % 4 == 0) h += "Cc: <" + people_[random_() % people_.size()].address + ">\r\n";
    h += "Subject: " + EncodedWord(subject) + "\r\nDate: " + date + "\r\nMIME-Version: 1.0\r\n";
    h += "Content-Type: " + contentType + "\r\n";
    h += "X-Priority: 3\r\nX-MSMail-Priority: Normal\r\nX-Mailer: Microsoft Outlook Express 6.00.2800.1158\r\n"
         "X-MimeOLE: Produced By Microsoft MimeOLE V6.00.2800.1165\r\n\r\n";
    return h;
  }

  static std::string Jis(const std::vector<std::string>& lines, const std::string& prefix = "") {
    std::string text;
    for (const auto& line : lines) text += ToIso2022Jp(prefix + line) + "\r\n";
    return text;
  }

  // Quoted-printable HTML of the same text, as the mail program writes its HTML part.
  static std::string HtmlPart(const std::vector<std::string>& lines) {
    std::string html =
        "<!DOCTYPE HTML PUBLIC \"-//W3C//DTD HTML 4.0 Transitional//EN\">\r\n<HTML><HEAD>\r\n"
        "<META http-equiv=3DContent-Type content=3D\"text/html; charset=3Diso-2022-jp\">\r\n"
        "<META content=3D\"MSHTML 6.00.2800.1400\" name=3DGENERATOR>\r\n<STYLE></STYLE>\r\n</HEAD>\r\n"
        "<BODY bgColor=3D#ffffff>\r\n";
    for (const auto& line : lines) {
      std::string jis = ToIso2022Jp(line), qp;
      for (char c : jis) qp += c == '\x1b' ? std::string("=1B") : c == '=' ? std::string("=3D") : std::string(1, c);
      html += "<DIV><FONT face=3D\"ＭＳ Ｐゴシック\" size=3D2>" + (line.empty() ? "&nbsp;" : qp) + "</FONT></DIV>\r\n";
    }
    return ToIso2022Jp(html) + "</BODY></HTML>\r\n";
  }

  std::string Attachment() {
    std::string bytes(2000 + random_() % 30000, '\0');
    for (auto& b : bytes) b = static_cast<char>(random_());
    const std::string encoded = Base64(bytes);
    std::string part = "Content-Type: image/jpeg;\r\n\tname=\"DSC0" + std::to_string(1000 + random_() % 9000) +
                       ".JPG\"\r\nContent-Transfer-Encoding: base64\r\nContent-Disposition: attachment\r\n\r\n";
    for (size_t i = 0; i < encoded.size(); i += 76) part += encoded.substr(i, 76) + "\r\n";
    return part;
  }

  std::string Business(bool reply, bool html) {
    Thread& thread = threads_[Zipf(kThreads)];
    const Person& from = people_[Zipf(people_.size())];
    const Person& to = people_[random_() % people_.size()];
    if (thread.subject.empty() || !reply) {
      thread.subject = Pick(kNouns) + "の" + Pick(kNouns) + (random_() % 2 ? "について" : "の件");
      thread.lastBody.clear();
    }
    std::vector<std::string> body = {to.company, to.family + "様", "", Any(kOpenings),
                                     from.company + "の" + from.family + "です。", ""};
    for (int p = 0, n = 1 + static_cast<int>(random_() % 4); p < n; ++p) {
      for (auto& line : Paragraph()) body.push_back(line);
      body.push_back("");
    }
    body.push_back(Any(kClosings));
    body.push_back("");
    for (const auto& line : from.signature) body.push_back(line);
    std::string text = Jis(body);
    const bool quoting = reply && !thread.lastBody.empty();
    if (quoting) {
      text += "\r\n----- Original Message -----\r\nFrom: \"" + thread.lastFrom + "\"\r\nSent: " + thread.lastDate +
              "\r\nSubject: " + ToIso2022Jp(thread.subject) + "\r\n\r\n" + Jis(thread.lastBody, "> ");
    }
    const std::string subject = (quoting ? "Re: " : "") + thread.subject;
    thread.lastBody = body;
    thread.lastFrom = from.family + " " + from.given;
    thread.lastDate = Date();
    const bool attach = random_() % 1000 < 8;
    const std::string plain = "text/plain;\r\n\tcharset=\"iso-2022-jp\"";
    if (!html && !attach) return Headers(from, to.address, subject, plain) + "Content-Transfer-Encoding: 7bit\r\n\r\n" + text;
    const std::string boundary = "----=_NextPart_000_00" + std::to_string(10 + random_() % 90) + "_01C3EA1F.4B2C3E80";
    std::string message = Headers(from, to.address, subject,
                                  std::string(attach ? "multipart/mixed" : "multipart/alternative") +
                                      ";\r\n\tboundary=\"" + boundary + "\"") +
                          "This is a multi-part message in MIME format.\r\n\r\n--" + boundary + "\r\n";
    message += "Content-Type: " + plain + "\r\nContent-Transfer-Encoding: 7bit\r\n\r\n" + text + "\r\n";
    if (html) message += "--" + boundary + "\r\nContent-Type: text/html;\r\n\tcharset=\"iso-2022-jp\"\r\n"
                         "Content-Transfer-Encoding: quoted-printable\r\n\r\n" + HtmlPart(body) + "\r\n";
    if (attach) message += "--" + boundary + "\r\n" + Attachment();
    return message + "--" + boundary + "--\r\n\r\n";
  }

  // A mail magazine: the same masthead and footer every issue, long articles between.
  std::string Magazine() {
    const Person& from = people_[0];
    std::vector<std::string> body = {"■□■□■□■□■□■□■□■□■□■□■□■□■□■□■□■□■□",
                                     "　　週刊　" + std::string(kCompanies[3]) + "　ニュース",
                                     "　　　　　　　　第" + std::to_string(++issue_) + "号",
                                     "■□■□■□■□■□■□■□■□■□■□■□■□■□■□■□■□■□", ""};
    for (int article = 1, n = 3 + static_cast<int>(random_() % 4); article <= n; ++article) {
      body.push_back("━━━━━━━━━━━━━━━━━━━━━━━━━━━━━━━━━━");
      body.push_back("■" + std::to_string(article) + ". " + Pick(kNouns) + "の" + Pick(kNouns));
      body.push_back("━━━━━━━━━━━━━━━━━━━━━━━━━━━━━━━━━━");
      for (int p = 0, m = 2 + static_cast<int>(random_() % 4); p < m; ++p) {
        for (auto& line : Paragraph()) body.push_back(line);
        body.push_back("");
      }
    }
    for (const char* line : {"──────────────────────────────────",
                             "このメールマガジンは配信を希望された方にお送りしています。",
                             "配信の停止はホームページからお手続きください。",
                             "http://www.example.co.jp/magazine/",
                             "──────────────────────────────────"})
      body.push_back(line);
    return Headers(from, "me@isp.example.ne.jp", "週刊ニュース 第" + std::to_string(issue_) + "号",
                   "text/plain;\r\n\tcharset=\"iso-2022-jp\"") +
           "Content-Transfer-Encoding: 7bit\r\n\r\n" + Jis(body);
  }

  std::string English() {
    const Person& from = people_[random_() % people_.size()];
    std::string text;
    for (int i = 0, n = 4 + static_cast<int>(random_() % 10); i < n; ++i) text += Any(kEnglish) + "\r\n";
    text += "http://www." + Any(kDomains) + "/" + std::to_string(random_()) + "\r\n";
    return Headers(from, "me@isp.example.ne.jp", "Information", "text/plain;\r\n\tcharset=\"us-ascii\"") +
           "Content-Transfer-Encoding: 7bit\r\n\r\n" + text;
  }

  static constexpr size_t kThreads = 60;
  std::mt19937 random_;
  std::vector<Person> people_;
  std::vector<Thread> threads_ = std::vector<Thread>(kThreads);
  int64_t time_ = 0;
  int issue_ = 100;
};

}  // namespace

std::vector<FolderFile> MailStore(size_t totalBytes, unsigned seed) {
  // Folder names and their shares of the store; the mix of mail differs by folder.
  struct Folder {
    const char* name;
    double share;
    int firstKind, lastKind;  // kinds of Writer::Message
  };
  const Folder folders[] = {{"受信トレイ.dbx", 0.40, 0, 40},   {"送信済みアイテム.dbx", 0.15, 14, 40},
                            {"削除済みアイテム.dbx", 0.10, 0, 40}, {"仕事.dbx", 0.20, 14, 40},
                            {"メルマガ.dbx", 0.10, 0, 6},      {"友人.dbx", 0.05, 24, 40}};
  Writer writer(seed);
  std::mt19937 random(seed + 1);
  std::vector<FolderFile> store;
  for (const Folder& folder : folders) {
    test::DbxDescription description;
    size_t bytes = 0;
    while (bytes < folder.share * static_cast<double>(totalBytes)) {
      test::DbxMessage message;
      message.direct = false;  // pointers beyond 16 MB do not fit in a slot
      message.text = writer.Message(folder.firstKind +
                                    static_cast<int>(random() % static_cast<unsigned>(folder.lastKind - folder.firstKind)));
      bytes += message.text.size();
      description.messages.push_back(std::move(message));
    }
    const auto image = test::WriteDbx(description);
    store.push_back({folder.name, std::string(image.bytes.begin(), image.bytes.end())});
  }
  return store;
}

}  // namespace vorn::bench
