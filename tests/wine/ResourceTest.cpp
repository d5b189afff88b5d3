// The resources of the built program, read back from the file: the two dialog templates control
// by control, the icon's images, the string, the manifest and the version record. Run against this
// test program's own copy and against each ParcelorMFC.EXE named in PARCELOR_EXE (';' between).
#include <windows.h>

#include "res/resource.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <sstream>

namespace {

// One control of a dialog template as the resource compiler wrote it.
struct TemplateItem {
    int id;
    std::string kind; // "button", "edit", "static", "combobox" or the class name
    std::string text;
    int x, y, cx, cy;
    DWORD style;
};

struct DialogTemplate {
    bool extended = false;
    DWORD style = 0, exStyle = 0;
    int cx = 0, cy = 0;
    std::string caption, font;
    int pointSize = 0;
    std::vector<TemplateItem> items;
};

// Reads the words of a dialog template, extended (DLGTEMPLATEEX and its DLGITEMTEMPLATEEX) or
// classic (DLGTEMPLATE and its DLGITEMTEMPLATE).
class TemplateReader {
public:
    TemplateReader(const void* data, size_t size) : m_p(static_cast<const BYTE*>(data)), m_end(m_p + size) { }

    bool Read(DialogTemplate& dialog)
    {
        const BYTE* start = m_p;
        dialog.extended = Word() == 1 && Word() == 0xFFFF;
        if (dialog.extended) {
            Dword(); // help id
            dialog.exStyle = Dword();
            dialog.style = Dword();
        } else {
            m_p = start;
            dialog.style = Dword();
            dialog.exStyle = Dword();
        }
        const int count = Word();
        Word();
        Word(); // x, y
        dialog.cx = Word();
        dialog.cy = Word();
        NameOrId(); // menu
        NameOrId(); // class
        dialog.caption = NameOrId();
        if (dialog.style & (DS_SETFONT | DS_SHELLFONT)) {
            dialog.pointSize = Word();
            if (dialog.extended) {
                Word();
                Word(); // weight, italic and charset
            }
            dialog.font = NameOrId();
        }
        for (int i = 0; i < count && m_p < m_end; ++i) {
            Align(4);
            TemplateItem item{};
            if (dialog.extended) {
                Dword(); // help id
                Dword(); // extended style
                item.style = Dword();
            } else {
                item.style = Dword();
                Dword(); // extended style
            }
            item.x = static_cast<short>(Word());
            item.y = static_cast<short>(Word());
            item.cx = Word();
            item.cy = Word();
            item.id = dialog.extended ? static_cast<int>(Dword()) : static_cast<short>(Word());
            item.kind = ClassName();
            item.text = NameOrId();
            m_p += Word(); // creation data
            dialog.items.push_back(item);
        }
        return m_p <= m_end;
    }

private:
    WORD Word()
    {
        WORD w = 0;
        if (m_p + 2 <= m_end)
            std::memcpy(&w, m_p, 2);
        m_p += 2;
        return w;
    }
    DWORD Dword()
    {
        const DWORD low = Word();
        return low | DWORD(Word()) << 16;
    }
    void Align(size_t to)
    {
        while (reinterpret_cast<uintptr_t>(m_p) % to)
            ++m_p;
    }
    // A text of UTF-16 words (ASCII here), or 0xFFFF and an ordinal written as "#n".
    std::string NameOrId()
    {
        WORD w = Word();
        if (w == 0xFFFF)
            return "#" + std::to_string(Word());
        std::string text;
        for (; w && m_p <= m_end; w = Word())
            text += static_cast<char>(w);
        return text;
    }
    std::string ClassName()
    {
        const std::string name = NameOrId();
        if (name == "#128")
            return "button";
        if (name == "#129")
            return "edit";
        if (name == "#130")
            return "static";
        if (name == "#133")
            return "combobox";
        return name;
    }

    const BYTE* m_p;
    const BYTE* m_end;
};

// Compares the controls of dialog with expected in order: id, class, text and rectangle, then
// the style through expectStyle.
template <size_t N, class StyleCheck>
void ExpectControls(const DialogTemplate& dialog, const TemplateItem (&expected)[N], StyleCheck expectStyle)
{
    ASSERT_EQ(dialog.items.size(), N);
    for (size_t i = 0; i < N; ++i) {
        const TemplateItem& want = expected[i];
        const TemplateItem& got = dialog.items[i];
        SCOPED_TRACE("control " + std::to_string(i) + " " + want.text);
        EXPECT_EQ(static_cast<WORD>(got.id), static_cast<WORD>(want.id));
        EXPECT_EQ(::lstrcmpiA(got.kind.c_str(), want.kind.c_str()), 0) << got.kind;
        EXPECT_EQ(got.text, want.text);
        EXPECT_EQ((std::vector<int>{got.x, got.y, got.cx, got.cy}),
                  (std::vector<int>{want.x, want.y, want.cx, want.cy}));
        expectStyle(got, want);
    }
}

class ProgramResources : public testing::TestWithParam<std::string> {
protected:
    void SetUp() override
    {
        m_module = GetParam() == "self" ? ::GetModuleHandleA(nullptr)
                                        : ::LoadLibraryExA(GetParam().c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
        ASSERT_NE(m_module, nullptr) << GetParam();
        if (GetParam() == "self") {
            char path[MAX_PATH] = "";
            ::GetModuleFileNameA(nullptr, path, MAX_PATH);
            m_path = path;
        } else {
            m_path = GetParam();
        }
    }
    void TearDown() override
    {
        if (m_module && GetParam() != "self")
            ::FreeLibrary(m_module);
    }

    std::string Resource(int id, LPCSTR type) const
    {
        HRSRC info = ::FindResourceA(m_module, MAKEINTRESOURCEA(id), type);
        HGLOBAL data = info ? ::LoadResource(m_module, info) : nullptr;
        if (!data)
            return {};
        return std::string(static_cast<const char*>(::LockResource(data)), ::SizeofResource(m_module, info));
    }

    std::string VersionString(const std::string& name) const
    {
        DWORD ignored = 0;
        std::vector<char> block(::GetFileVersionInfoSizeA(m_path.c_str(), &ignored));
        if (block.empty() || !::GetFileVersionInfoA(m_path.c_str(), 0, static_cast<DWORD>(block.size()), block.data()))
            return "(no version record)";
        char* value = nullptr;
        UINT length = 0;
        const std::string query = "\\StringFileInfo\\040904b0\\" + name;
        if (!::VerQueryValueA(block.data(), query.c_str(), reinterpret_cast<void**>(&value), &length) || !value)
            return "(missing)";
        return value;
    }

    HMODULE m_module = nullptr;
    std::string m_path;
};

std::vector<std::string> ModulesUnderTest()
{
    std::vector<std::string> modules{"self"};
    if (const char* list = std::getenv("PARCELOR_EXE")) {
        std::stringstream paths(list);
        for (std::string path; std::getline(paths, path, ';');)
            if (!path.empty())
                modules.push_back(path);
    }
    return modules;
}

} // namespace

TEST_P(ProgramResources, MainDialogTemplateHoldsEveryControlInTabOrder)
{
    const std::string bytes = Resource(IDD_MAIN_DIALOG, RT_DIALOG);
    DialogTemplate dialog;
    ASSERT_TRUE(TemplateReader(bytes.data(), bytes.size()).Read(dialog));
    EXPECT_EQ(dialog.caption, "The Parcelor");
    EXPECT_EQ(dialog.cx, 259);
    EXPECT_EQ(dialog.cy, 159);
    EXPECT_EQ(dialog.font, "MS Sans Serif");
    EXPECT_EQ(dialog.pointSize, 8);
    const DWORD wanted = WS_POPUP | WS_VISIBLE | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | DS_MODALFRAME;
    EXPECT_EQ(dialog.style & wanted, wanted);
    EXPECT_FALSE(dialog.style & WS_MAXIMIZEBOX);
    EXPECT_TRUE(dialog.exStyle & WS_EX_APPWINDOW);

    const TemplateItem expected[] = {
        {-1, "static",
         "The Parcelor splits a file into pieces of a specified size.  These pieces can later be combined to form the "
         "original file.",
         6, 7, 234, 20, SS_LEFT},
        {-1, "static", "&File to split:", 40, 33, 38, 11, SS_RIGHT},
        {IDC_FILE, "edit", "", 81, 31, 108, 12, WS_BORDER | WS_TABSTOP | ES_AUTOHSCROLL},
        {IDC_BROWSE_FILE, "button", "&Browse...", 195, 28, 50, 14, WS_TABSTOP | BS_PUSHBUTTON},
        {-1, "static", "&Directory for pieces:", 9, 50, 69, 11, SS_RIGHT},
        {IDC_DIRECTORY, "edit", "", 81, 49, 108, 12, WS_BORDER | WS_TABSTOP | ES_AUTOHSCROLL},
        {IDC_BROWSE_DIRECTORY, "button", "B&rowse...", 195, 48, 50, 14, WS_TABSTOP | BS_PUSHBUTTON},
        {-1, "static", "Si&ze of pieces:", 27, 68, 51, 11, SS_RIGHT},
        {IDC_SIZE, "combobox", "", 81, 67, 108, 48, CBS_DROPDOWNLIST | CBS_SORT | WS_VSCROLL | WS_TABSTOP},
        {IDC_CUSTOM_SIZE_LABEL, "static", "&Custom size:", 36, 87, 42, 11, SS_RIGHT},
        {IDC_CUSTOM_SIZE, "edit", "", 81, 85, 56, 12, WS_BORDER | WS_TABSTOP | ES_AUTOHSCROLL},
        {IDC_UNITS, "combobox", "", 140, 85, 49, 58, CBS_DROPDOWNLIST | CBS_SORT | WS_VSCROLL | WS_TABSTOP},
        {IDC_SPLIT, "button", "&Split", 39, 111, 50, 14, WS_TABSTOP | BS_PUSHBUTTON},
        {IDC_EXIT, "button", "E&xit", 101, 111, 50, 14, WS_TABSTOP | BS_PUSHBUTTON},
        {IDC_ABOUT, "button", "&About...", 163, 111, 50, 14, WS_TABSTOP | BS_PUSHBUTTON},
        {IDC_PROGRESS_LABEL, "static", "Progress:", 27, 135, 62, 10, SS_RIGHT},
        {IDC_PROGRESS, "msctls_progress32", "", 93, 135, 84, 10, WS_BORDER},
    };
    ExpectControls(dialog, expected, [](const TemplateItem& got, const TemplateItem& want) {
        EXPECT_EQ(got.style & want.style, want.style);
        EXPECT_TRUE(got.style & WS_VISIBLE);
        // Only the listed controls are tab stops, and no button is the default one.
        EXPECT_EQ((got.style & WS_TABSTOP) != 0, (want.style & WS_TABSTOP) != 0);
        if (want.kind == "button") {
            EXPECT_EQ(got.style & BS_TYPEMASK, DWORD(BS_PUSHBUTTON));
        }
        if (want.kind == "static") {
            EXPECT_EQ(got.style & SS_TYPEMASK, want.style & SS_TYPEMASK);
        }
    });
}

TEST_P(ProgramResources, AboutDialogIsAClassicTemplateWithTheLinkLast)
{
    const std::string bytes = Resource(IDD_ABOUT_DIALOG, RT_DIALOG);
    DialogTemplate dialog;
    ASSERT_TRUE(TemplateReader(bytes.data(), bytes.size()).Read(dialog));
    EXPECT_FALSE(dialog.extended);
    EXPECT_EQ(dialog.caption, "About The Parcelor");
    EXPECT_EQ(dialog.cx, 235);
    EXPECT_EQ(dialog.cy, 70);
    EXPECT_EQ(dialog.font, "MS Sans Serif");
    EXPECT_EQ(dialog.pointSize, 8);
    EXPECT_EQ(dialog.style, DWORD(WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | DS_SETFONT));
    EXPECT_EQ(dialog.exStyle, 0u);

    const TemplateItem expected[] = {
        {-1, "static", "#128", 11, 17, 20, 20, SS_ICON},
        {-1, "static", "The Parcelor Version 1.0.0", 40, 10, 119, 8, SS_LEFT | SS_NOPREFIX | WS_GROUP},
        {-1, "static", "Free to use, copy and share.", 40, 22, 119, 8, SS_LEFT | WS_GROUP},
        {IDOK, "button", "OK", 178, 7, 50, 14, BS_DEFPUSHBUTTON | WS_TABSTOP | WS_GROUP},
        {IDC_HOME_PAGE_LINK, "static", "https://parcelor.example/", 40, 34, 179, 8, SS_LEFT | WS_TABSTOP | WS_GROUP},
    };
    ExpectControls(dialog, expected, [](const TemplateItem& got, const TemplateItem& want) {
        EXPECT_EQ(got.style, want.style | WS_CHILD | WS_VISIBLE);
    });
}

// Each size in 32-bit colour with alpha, which Windows picks for that size, and the 16-colour
// images for old displays; every image a bitmap that Windows XP reads (none PNG-compressed).
TEST_P(ProgramResources, IconHoldsEverySizeInTrueColourAndTwoIn16Colours)
{
    const std::string group = Resource(IDI_APP, RT_GROUP_ICON);
    ASSERT_GE(group.size(), 6u);
    const BYTE* p = reinterpret_cast<const BYTE*>(group.data());
    const int count = p[4] | p[5] << 8;
    ASSERT_EQ(group.size(), 6u + 14u * count);
    std::vector<std::string> images;
    for (int i = 0; i < count; ++i) {
        const BYTE* entry = p + 6 + 14 * i;
        const int size = entry[0] ? entry[0] : 256;
        const int bits = entry[6] | entry[7] << 8;
        const int id = entry[12] | entry[13] << 8;
        images.push_back(std::to_string(size) + "x" + std::to_string(entry[1] ? entry[1] : 256) + "/" +
                         std::to_string(bits));
        SCOPED_TRACE(images.back());
        const std::string image = Resource(id, RT_ICON);
        ASSERT_GE(image.size(), sizeof(BITMAPINFOHEADER));
        BITMAPINFOHEADER header;
        std::memcpy(&header, image.data(), sizeof header);
        EXPECT_EQ(header.biSize, sizeof header); // a PNG-compressed image starts 0x89 "PNG"
        EXPECT_EQ(header.biCompression, DWORD(BI_RGB));
        EXPECT_EQ(header.biWidth, size);
        EXPECT_EQ(header.biBitCount, bits);
        HICON icon =
            ::CreateIconFromResourceEx(reinterpret_cast<BYTE*>(const_cast<char*>(image.data())),
                                       static_cast<DWORD>(image.size()), TRUE, 0x00030000, size, size, LR_DEFAULTCOLOR);
        EXPECT_NE(icon, nullptr);
        if (icon)
            ::DestroyIcon(icon);
        if (bits == 32) {
            EXPECT_EQ(::LookupIconIdFromDirectoryEx(const_cast<BYTE*>(p), TRUE, size, size, LR_DEFAULTCOLOR), id);
        }
    }
    EXPECT_EQ(images,
              (std::vector<std::string>{"16x16/32", "20x20/32", "24x24/32", "32x32/32", "40x40/32", "48x48/32",
                                        "64x64/32", "256x256/32", "16x16/4", "32x32/4"}));
}

TEST_P(ProgramResources, StringListsAndManifest)
{
    char about[64] = "";
    ::LoadStringA(m_module, IDS_ABOUT, about, sizeof about);
    EXPECT_STREQ(about, "&About The Parcelor...");

    const std::string lists = Resource(IDD_MAIN_DIALOG, MAKEINTRESOURCEA(RT_DLGINIT_LIST));
    for (const char* entry : {"1.44 MB Floppy", "Custom size...", "Bytes", "KB", "MB"})
        EXPECT_NE(lists.find(std::string(entry) + '\0'), std::string::npos) << entry;

    const std::string manifest = Resource(1, RT_MANIFEST);
    EXPECT_NE(manifest.find("name=\"Microsoft.Windows.Common-Controls\""), std::string::npos);
    EXPECT_NE(manifest.find("version=\"6.0.0.0\""), std::string::npos);
    EXPECT_NE(manifest.find("level=\"asInvoker\""), std::string::npos);
    EXPECT_NE(
        manifest.find("<dpiAware xmlns=\"http://schemas.microsoft.com/SMI/2005/WindowsSettings\">true</dpiAware>"),
        std::string::npos);
}

TEST_P(ProgramResources, VersionRecordNamesTheProduct)
{
    DWORD ignored = 0;
    std::vector<char> block(::GetFileVersionInfoSizeA(m_path.c_str(), &ignored));
    ASSERT_FALSE(block.empty());
    ASSERT_TRUE(::GetFileVersionInfoA(m_path.c_str(), 0, static_cast<DWORD>(block.size()), block.data()));
    VS_FIXEDFILEINFO* fixed = nullptr;
    UINT length = 0;
    ASSERT_TRUE(::VerQueryValueA(block.data(), "\\", reinterpret_cast<void**>(&fixed), &length));
    EXPECT_EQ(fixed->dwFileVersionMS, 0x00010000u);
    EXPECT_EQ(fixed->dwFileVersionLS, 0x00000001u);
    EXPECT_EQ(fixed->dwProductVersionMS, 0x00010000u);
    EXPECT_EQ(fixed->dwProductVersionLS, 0x00000001u);

    EXPECT_EQ(VersionString("FileDescription"), "The Parcelor");
    EXPECT_EQ(VersionString("ProductName"), "The Parcelor");
    EXPECT_EQ(VersionString("FileVersion"), "1, 0, 0, 1");
    EXPECT_EQ(VersionString("ProductVersion"), "1, 0, 0, 1");
    EXPECT_EQ(VersionString("InternalName"), "Parcelor");
    EXPECT_EQ(VersionString("OriginalFilename"), "ParcelorMFC.EXE");
}

INSTANTIATE_TEST_SUITE_P(Built, ProgramResources, testing::ValuesIn(ModulesUnderTest()),
                         [](const testing::TestParamInfo<std::string>& info) {
                             return info.param == "self" ? std::string("ThisTestProgram")
                                                         : "Program" + std::to_string(info.index);
                         });
