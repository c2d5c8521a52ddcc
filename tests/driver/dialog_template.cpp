#include "dialog_template.h"

namespace ui {

namespace {

// Walks the template's words, converting its UTF-16 texts to the code page.
class Reader {
public:
    explicit Reader(const BYTE* at) : at_(at) {}

    WORD word()
    {
        WORD value;
        CopyMemory(&value, at_, sizeof value);
        at_ += sizeof value;
        return value;
    }
    DWORD dword()
    {
        const DWORD low = word();
        return low | (DWORD{word()} << 16);
    }
    short coordinate() { return static_cast<short>(word()); }

    std::string text()
    {
        std::wstring wide;
        for (WORD c = word(); c != 0; c = word())
            wide.push_back(static_cast<wchar_t>(c));
        if (wide.empty())
            return {};
        char narrow[1024] = {};
        WideCharToMultiByte(CP_ACP, 0, wide.c_str(), static_cast<int>(wide.size()), narrow, sizeof narrow - 1,
                            nullptr, nullptr);
        return narrow;
    }

    // A text, or 0xFFFF and an ordinal. The predefined control classes come
    // out in one spelling, whether stored by ordinal or by (any-case) name.
    std::string textOrOrdinal(bool isClass)
    {
        static const char* const predefined[] = {"Button", "Edit", "Static", "ListBox", "ScrollBar", "ComboBox"};
        WORD first;
        CopyMemory(&first, at_, sizeof first);
        if (first != 0xFFFF) {
            const std::string name = text();
            if (isClass)
                for (const char* known : predefined)
                    if (lstrcmpiA(name.c_str(), known) == 0)
                        return known;
            return name;
        }
        word();
        const WORD ordinal = word();
        if (isClass && ordinal >= 0x80 && ordinal <= 0x85)
            return predefined[ordinal - 0x80];
        return "#" + std::to_string(ordinal);
    }

    void alignToDword(const BYTE* base)
    {
        while ((at_ - base) % 4 != 0)
            ++at_;
    }
    void skip(size_t bytes) { at_ += bytes; }

private:
    const BYTE* at_;
};

const BYTE* loadResource(HMODULE module, const char* name, const char* type)
{
    HRSRC found = FindResourceA(module, name, type);
    if (!found)
        return nullptr;
    HGLOBAL loaded = LoadResource(module, found);
    return loaded ? static_cast<const BYTE*>(LockResource(loaded)) : nullptr;
}

}  // namespace

bool readDialogTemplate(const std::string& modulePath, const char* name, DialogTemplate& result)
{
    HMODULE module = LoadLibraryExA(modulePath.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    if (!module)
        return false;
    const BYTE* base = loadResource(module, name, MAKEINTRESOURCEA(5));  // RT_DIALOG
    if (!base) {
        FreeLibrary(module);
        return false;
    }

    Reader read(base);
    result = DialogTemplate{};
    result.extended = read.word() == 1 && read.word() == 0xFFFF;
    if (result.extended) {
        read.dword();  // help id
        result.exStyle = read.dword();
        result.style = read.dword();
    } else {
        read = Reader(base);
        result.style = read.dword();
        result.exStyle = read.dword();
    }
    const WORD count = read.word();
    result.x = read.coordinate();
    result.y = read.coordinate();
    result.cx = read.coordinate();
    result.cy = read.coordinate();
    read.textOrOrdinal(false);  // menu
    read.textOrOrdinal(false);  // class
    result.caption = read.text();
    if (result.style & DS_SETFONT) {
        result.pointSize = read.word();
        if (result.extended) {
            read.word();  // weight
            read.word();  // italic and charset
        }
        result.typeface = read.text();
    }

    for (WORD i = 0; i < count; ++i) {
        read.alignToDword(base);
        DialogItem item;
        if (result.extended) {
            read.dword();  // help id
            item.exStyle = read.dword();
            item.style = read.dword();
        } else {
            item.style = read.dword();
            item.exStyle = read.dword();
        }
        item.x = read.coordinate();
        item.y = read.coordinate();
        item.cx = read.coordinate();
        item.cy = read.coordinate();
        item.id = result.extended ? static_cast<int>(read.dword()) : read.word();
        item.className = read.textOrOrdinal(true);
        item.text = read.textOrOrdinal(false);
        read.skip(read.word());  // creation data
        result.items.push_back(item);
    }
    FreeLibrary(module);
    return true;
}

std::vector<IconImage> readIconGroup(const std::string& modulePath, const char* name)
{
    std::vector<IconImage> images;
    HMODULE module = LoadLibraryExA(modulePath.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    if (!module)
        return images;
    if (const BYTE* group = loadResource(module, name, MAKEINTRESOURCEA(14))) {  // RT_GROUP_ICON
        Reader read(group);
        read.word();  // reserved
        read.word();  // type
        const WORD count = read.word();
        for (WORD i = 0; i < count; ++i) {
            const BYTE* entry = group + 6 + 14 * i;
            IconImage image{entry[0] ? entry[0] : 256, entry[1] ? entry[1] : 256, entry[2], 0};
            Reader rest(entry + 6);
            image.bitCount = rest.word();
            images.push_back(image);
        }
    }
    FreeLibrary(module);
    return images;
}

}  // namespace ui
