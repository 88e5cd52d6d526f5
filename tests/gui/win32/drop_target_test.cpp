// The OLE drop target of the editor window, called directly the way OLE
// calls it while the user drags text or files over the window.
#include <gtest/gtest.h>

#include <shlobj.h>

#include <cstring>
#include <string>
#include <vector>

#include "gui/gui_types.h"
#include "gui/win32/win32_platform.h"
#include "gui/win32/win32_window.h"
#include "win32_test_support.h"

namespace {

struct Drop {
    int32_t type;
    int32_t count;
    std::vector<std::string> items;
};

class RecordingClient : public GuiWindowClient {
public:
    void windowPaint(GuiCanvas&, GuiPointer&, const GuiRect&) override {}
    void windowPress(GuiCanvas&, GuiPointer&, const GuiPoint&) override {}
    void windowDestroyed() override {}
    bool windowDrop(void** items, int32_t count, int32_t type, const GuiPoint&) override {
        Drop drop{type, count, {}};
        if (type == kGuiDropText) {
            drop.items.emplace_back(static_cast<const char*>(items[0]));
        } else {
            for (int32_t i = 0; i < count; ++i) drop.items.emplace_back(static_cast<const char*>(items[i]));
        }
        drops.push_back(drop);
        return takes;
    }
    std::vector<Drop> drops;
    bool takes = true;  // whether a view takes what is dropped
};

// A data object offering one clipboard format in global memory.
class OneFormatData final : public IDataObject {
public:
    OneFormatData(CLIPFORMAT format, std::vector<char> bytes) : format(format), bytes(std::move(bytes)) {}

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override {
        if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, IID_IDataObject)) {
            *object = this;
            return S_OK;
        }
        *object = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return 2; }
    ULONG STDMETHODCALLTYPE Release() override { return 1; }

    HRESULT STDMETHODCALLTYPE GetData(FORMATETC* wanted, STGMEDIUM* medium) override {
        if (QueryGetData(wanted) != S_OK) return DV_E_FORMATETC;
        HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, bytes.size());
        std::memcpy(GlobalLock(memory), bytes.data(), bytes.size());
        GlobalUnlock(memory);
        medium->tymed = TYMED_HGLOBAL;
        medium->hGlobal = memory;
        medium->pUnkForRelease = nullptr;
        ++handedOut;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetDataHere(FORMATETC*, STGMEDIUM*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE QueryGetData(FORMATETC* wanted) override {
        const bool match = wanted && wanted->cfFormat == format && (wanted->tymed & TYMED_HGLOBAL) &&
                           wanted->dwAspect == DVASPECT_CONTENT;
        return match ? S_OK : DV_E_FORMATETC;
    }
    HRESULT STDMETHODCALLTYPE GetCanonicalFormatEtc(FORMATETC*, FORMATETC*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE SetData(FORMATETC*, STGMEDIUM*, BOOL) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE EnumFormatEtc(DWORD, IEnumFORMATETC**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE DAdvise(FORMATETC*, DWORD, IAdviseSink*, DWORD*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE DUnadvise(DWORD) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE EnumDAdvise(IEnumSTATDATA**) override { return E_NOTIMPL; }

    int handedOut = 0;

private:
    CLIPFORMAT format;
    std::vector<char> bytes;
};

OneFormatData textData(const std::string& text) {
    return OneFormatData(CF_TEXT, std::vector<char>(text.c_str(), text.c_str() + text.size() + 1));
}

OneFormatData fileData(const std::vector<std::string>& names) {
    std::vector<char> bytes(sizeof(DROPFILES), 0);
    auto* header = reinterpret_cast<DROPFILES*>(bytes.data());
    header->pFiles = sizeof(DROPFILES);
    header->fWide = FALSE;
    for (const auto& name : names) bytes.insert(bytes.end(), name.c_str(), name.c_str() + name.size() + 1);
    bytes.push_back('\0');
    return OneFormatData(CF_HDROP, std::move(bytes));
}

std::string tempPath(const char* name) {
    char folder[MAX_PATH];
    GetTempPathA(MAX_PATH, folder);
    return std::string(folder) + name;
}

bool makeShortcut(const std::string& target, const std::string& shortcut) {
    IShellLinkA* link = nullptr;
    if (CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkA,
                         reinterpret_cast<void**>(&link)) != S_OK) {
        return false;
    }
    link->SetPath(target.c_str());
    IPersistFile* file = nullptr;
    bool saved = false;
    if (link->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file)) == S_OK) {
        WCHAR wide[MAX_PATH];
        MultiByteToWideChar(CP_ACP, 0, shortcut.c_str(), -1, wide, MAX_PATH);
        saved = file->Save(wide, TRUE) == S_OK;
        file->Release();
    }
    link->Release();
    return saved;
}

class DropTargetTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_NE(host.handle, nullptr);
        window = platform.createWindow(host.handle, 484, 286, GuiScale{}, client);
        ASSERT_NE(window, nullptr);
        target = static_cast<Win32Window&>(*window).dropTarget();
        ASSERT_NE(target, nullptr) << "RegisterDragDrop failed";
    }
    DWORD enter(IDataObject* data, DWORD keys) {
        DWORD effect = DROPEFFECT_COPY | DROPEFFECT_MOVE;
        EXPECT_EQ(target->DragEnter(data, keys, POINTL{10, 10}, &effect), S_OK);
        return effect;
    }
    // The effect Drop leaves for the source, which allowed all three.
    DWORD drop(IDataObject* data, DWORD keys = 0) {
        DWORD effect = DROPEFFECT_COPY | DROPEFFECT_MOVE | DROPEFFECT_LINK;
        EXPECT_EQ(target->Drop(data, keys, POINTL{10, 10}, &effect), S_OK);
        return effect;
    }

    HostWindow host;
    Win32Platform platform;
    RecordingClient client;
    std::unique_ptr<GuiWindow> window;
    IDropTarget* target = nullptr;
};

}  // namespace

TEST_F(DropTargetTest, AnswersOnlyForDropTargetAndUnknown) {
    void* object = nullptr;
    ASSERT_EQ(target->QueryInterface(IID_IDropTarget, &object), S_OK);
    EXPECT_EQ(object, target);
    static_cast<IUnknown*>(object)->Release();
    ASSERT_EQ(target->QueryInterface(IID_IUnknown, &object), S_OK);
    static_cast<IUnknown*>(object)->Release();
    EXPECT_EQ(target->QueryInterface(IID_IDataObject, &object), E_NOINTERFACE);
    EXPECT_EQ(object, nullptr);
}

TEST_F(DropTargetTest, EffectsFollowWhatIsOfferedAndTheControlKey) {
    OneFormatData text = textData("abc");
    EXPECT_EQ(enter(&text, MK_CONTROL), static_cast<DWORD>(DROPEFFECT_COPY));
    DWORD effect = 0;
    EXPECT_EQ(target->DragOver(0, POINTL{12, 12}, &effect), S_OK);
    EXPECT_EQ(effect, static_cast<DWORD>(DROPEFFECT_MOVE));
    EXPECT_EQ(target->DragLeave(), S_OK);

    OneFormatData files = fileData({"C:\\a.wav"});
    EXPECT_EQ(enter(&files, 0), static_cast<DWORD>(DROPEFFECT_MOVE));

    OneFormatData bitmap(CF_BITMAP, {0});
    EXPECT_EQ(enter(&bitmap, MK_CONTROL), static_cast<DWORD>(DROPEFFECT_NONE));
    EXPECT_EQ(target->DragOver(0, POINTL{12, 12}, &effect), S_OK);
    EXPECT_EQ(effect, static_cast<DWORD>(DROPEFFECT_NONE));
    EXPECT_EQ(drop(&bitmap), static_cast<DWORD>(DROPEFFECT_NONE));
    EXPECT_TRUE(client.drops.empty());
}

// A source that deletes its original after a reported move must only hear
// of a move when a view took the drop.
TEST_F(DropTargetTest, ADropReportsNoEffectUnlessAViewTookIt) {
    client.takes = false;
    OneFormatData text = textData("nobody wants this");
    enter(&text, 0);
    EXPECT_EQ(drop(&text), static_cast<DWORD>(DROPEFFECT_NONE));
    OneFormatData files = fileData({"C:\\audio\\kick.wav"});
    enter(&files, MK_CONTROL);
    EXPECT_EQ(drop(&files, MK_CONTROL), static_cast<DWORD>(DROPEFFECT_NONE));
    EXPECT_EQ(client.drops.size(), 2u);  // both reached the views, neither was taken

    client.takes = true;
    enter(&text, 0);
    EXPECT_EQ(drop(&text), static_cast<DWORD>(DROPEFFECT_MOVE));
    enter(&files, MK_CONTROL);
    EXPECT_EQ(drop(&files, MK_CONTROL), static_cast<DWORD>(DROPEFFECT_COPY));
    // The last DragOver decides: Control released before the drop.
    enter(&files, MK_CONTROL);
    DWORD effect = DROPEFFECT_COPY | DROPEFFECT_MOVE;
    EXPECT_EQ(target->DragOver(0, POINTL{12, 12}, &effect), S_OK);
    EXPECT_EQ(drop(&files), static_cast<DWORD>(DROPEFFECT_MOVE));
    EXPECT_EQ(client.drops.size(), 5u);
}

TEST_F(DropTargetTest, DroppedTextArrivesAsTextWithItsSize) {
    OneFormatData text = textData("Velmora preset");
    enter(&text, 0);
    drop(&text);
    ASSERT_EQ(client.drops.size(), 1u);
    EXPECT_EQ(client.drops[0].type, kGuiDropText);
    EXPECT_GE(client.drops[0].count, 15);  // the global block holds at least the text and its NUL
    EXPECT_EQ(client.drops[0].items[0], "Velmora preset");
}

TEST_F(DropTargetTest, DroppedFilesArriveByNameInOrder) {
    OneFormatData files = fileData({"C:\\audio\\kick.wav", "D:\\x.txt", "C:\\long name with spaces.aiff"});
    enter(&files, MK_CONTROL);
    drop(&files);
    ASSERT_EQ(client.drops.size(), 1u);
    EXPECT_EQ(client.drops[0].type, kGuiDropFiles);
    EXPECT_EQ(client.drops[0].count, 3);
    EXPECT_EQ(client.drops[0].items,
              (std::vector<std::string>{"C:\\audio\\kick.wav", "D:\\x.txt", "C:\\long name with spaces.aiff"}));
}

TEST_F(DropTargetTest, AShortcutIsReplacedByItsTarget) {
    const std::string targetFile = tempPath("vtarget.txt");
    const std::string shortcut = tempPath("Velmora Target.LNK");
    HANDLE file = CreateFileA(targetFile.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(file, INVALID_HANDLE_VALUE);
    CloseHandle(file);
    ASSERT_TRUE(makeShortcut(targetFile, shortcut));

    OneFormatData files = fileData({shortcut, "C:\\plain.wav"});
    enter(&files, 0);
    drop(&files);
    ASSERT_EQ(client.drops.size(), 1u);
    ASSERT_EQ(client.drops[0].count, 2);
    char expected[MAX_PATH];
    GetShortPathNameA(targetFile.c_str(), expected, MAX_PATH);
    EXPECT_STRCASEEQ(client.drops[0].items[0].c_str(), expected);
    EXPECT_EQ(client.drops[0].items[1], "C:\\plain.wav");
    DeleteFileA(shortcut.c_str());
    DeleteFileA(targetFile.c_str());
}

TEST_F(DropTargetTest, DropsAfterTheWindowWentReachNobody) {
    target->AddRef();  // as OLE would hold it during a drag
    HWND handle = static_cast<Win32Window&>(*window).handle();
    window.reset();
    EXPECT_FALSE(IsWindow(handle));
    OneFormatData text = textData("late");
    EXPECT_EQ(drop(&text), static_cast<DWORD>(DROPEFFECT_NONE));
    EXPECT_TRUE(client.drops.empty());
    target->Release();
}
