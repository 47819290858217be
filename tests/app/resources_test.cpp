// The program's resources byte for byte, as the program loads them.
#include <gtest/gtest.h>

#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

#include "res/resource.h"

namespace {

class Bytes {
public:
    Bytes& Word(std::uint16_t v) { b_.push_back(v & 0xFF); b_.push_back(v >> 8); return *this; }
    Bytes& Dword(std::uint32_t v) { Word(v & 0xFFFF); return Word(v >> 16); }
    Bytes& Byte(std::uint8_t v) { b_.push_back(v); return *this; }
    Bytes& Text(const std::u16string& s) {
        for (char16_t c : s) Word(static_cast<std::uint16_t>(c));
        return Word(0);
    }
    Bytes& Align() {
        while (b_.size() % 4) b_.push_back(0);
        return *this;
    }
    const std::vector<unsigned char>& data() const { return b_; }

private:
    std::vector<unsigned char> b_;
};

const std::u16string kFont = u"\uff2d\uff33 \uff30\u30b4\u30b7\u30c3\u30af";  // ＭＳ Ｐゴシック
const WORD kJapanese = MAKELANGID(LANG_JAPANESE, SUBLANG_DEFAULT);

std::vector<unsigned char> Load(LPCSTR type, int id) {
    HRSRC found = FindResourceExA(nullptr, type, MAKEINTRESOURCEA(id), kJapanese);
    if (!found) return {};
    const unsigned char* p = static_cast<const unsigned char*>(LockResource(LoadResource(nullptr, found)));
    return std::vector<unsigned char>(p, p + SizeofResource(nullptr, found));
}

// The loaded resource may carry zero padding after the template.
void ExpectTemplate(const std::vector<unsigned char>& actual, const std::vector<unsigned char>& expected) {
    ASSERT_GE(actual.size(), expected.size());
    EXPECT_EQ(std::vector<unsigned char>(actual.begin(), actual.begin() + expected.size()), expected);
    for (size_t i = expected.size(); i < actual.size(); ++i) EXPECT_EQ(actual[i], 0) << "byte " << i;
}

TEST(Resources, MainWindowTemplate102) {
    Bytes t;
    t.Word(1).Word(0xFFFF).Dword(0).Dword(0x00040000).Dword(0x90CF0040).Word(0);
    t.Word(0).Word(0).Word(349).Word(347);
    t.Word(0).Word(0).Text(u"Vorl");
    t.Word(9).Word(0).Byte(0).Byte(1).Text(kFont);
    ExpectTemplate(Load(RT_DIALOG, IDD_MAIN), t.data());
}

TEST(Resources, AboutBoxTemplate100) {
    Bytes t;
    t.Dword(0x80C800C0).Dword(0).Word(4).Word(0).Word(0).Word(235).Word(55);
    t.Word(0).Word(0).Text(u"Vorl\u306e\uff8a\uff9e\uff70\uff7c\uff9e\uff6e\uff9d\u60c5\u5831");
    t.Word(9).Text(kFont);
    // Each control: style, extended style, x, y, width, height, id, class
    // name, text (the icon by number), no creation data.
    t.Align().Dword(0x50000003).Dword(0).Word(11).Word(17).Word(20).Word(20).Word(0xFFFF);
    t.Text(u"STATIC").Word(0xFFFF).Word(IDR_MAINFRAME).Word(0);
    t.Align().Dword(0x50020080).Dword(0).Word(40).Word(10).Word(119).Word(8).Word(0xFFFF);
    t.Text(u"STATIC").Text(u"Vorl Version 1.0").Word(0);
    t.Align().Dword(0x50020000).Dword(0).Word(40).Word(25).Word(119).Word(8).Word(0xFFFF);
    t.Text(u"STATIC").Text(u"Copyright (C) 2026 Vorl \u306e\u958b\u767a\u8005").Word(0);
    t.Align().Dword(0x50030001).Dword(0).Word(178).Word(7).Word(50).Word(14).Word(IDOK);
    t.Text(u"BUTTON").Text(u"OK").Word(0);
    ExpectTemplate(Load(RT_DIALOG, IDD_ABOUTBOX), t.data());
}

TEST(Resources, AboutString101InCodePage932AndUtf16) {
    char narrow[128] = {};
    ASSERT_GT(LoadStringA(GetModuleHandleA(nullptr), IDS_ABOUTBOX, narrow, sizeof narrow), 0);
    EXPECT_STREQ(narrow, "Vorl \x82\xcc\xca\xde\xb0\xbc\xde\xae\xdd\x8f\xee\x95\xf1(&A)...");
    wchar_t wide[128] = {};
    ASSERT_GT(LoadStringW(GetModuleHandleA(nullptr), IDS_ABOUTBOX, wide, 128), 0);
    EXPECT_EQ(std::wstring(wide), L"Vorl \u306e\uff8a\uff9e\uff70\uff7c\uff9e\uff6e\uff9d\u60c5\u5831(&A)...");
}

TEST(Resources, IconGroup128HasA32And16PixelSixteenColourImage) {
    std::vector<unsigned char> group = Load(RT_GROUP_ICON, IDR_MAINFRAME);
    ASSERT_EQ(group.size(), 6u + 2 * 14u);
    EXPECT_EQ(group[2] | group[3] << 8, 1);  // icons
    EXPECT_EQ(group[4] | group[5] << 8, 2);  // two images
    const int sizes[2] = {32, 16};
    for (int i = 0; i < 2; ++i) {
        const unsigned char* e = &group[6 + 14 * i];
        EXPECT_EQ(e[0], sizes[i]);
        EXPECT_EQ(e[1], sizes[i]);
        EXPECT_EQ(e[2], 16) << "colours";
        EXPECT_EQ(e[6] | e[7] << 8, 4) << "bits per pixel";
    }
    EXPECT_NE(LoadIconA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDR_MAINFRAME)), nullptr);
}

}  // namespace
