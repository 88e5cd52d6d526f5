#include "ole_drop_target.h"

#include <shellapi.h>
#include <shlobj.h>

#include <array>
#include <cstring>
#include <new>
#include <vector>

#include "gui/gui_types.h"

namespace {
// Resolve without any user interface, accepting any match, within 500 ms.
constexpr DWORD kResolveQuietly = 0x01F40003;

FORMATETC formatOf(CLIPFORMAT format) {
    FORMATETC description{};
    description.cfFormat = format;
    description.dwAspect = DVASPECT_CONTENT;
    description.lindex = -1;
    description.tymed = TYMED_HGLOBAL;
    return description;
}

bool offers(IDataObject* data, CLIPFORMAT format) {
    FORMATETC description = formatOf(format);
    return data && data->QueryGetData(&description) == S_OK;
}

// Releases an interface pointer when it goes out of scope.
template <typename Interface>
struct Held {
    Interface* pointer = nullptr;
    ~Held() {
        if (pointer) pointer->Release();
    }
};
}  // namespace

OleDropTarget::OleDropTarget(DropSink& owner) : sink(&owner) {}

HRESULT STDMETHODCALLTYPE OleDropTarget::QueryInterface(REFIID iid, void** object) {
    if (!object) return E_POINTER;
    if (IsEqualIID(iid, IID_IDropTarget) || IsEqualIID(iid, IID_IUnknown)) {
        *object = static_cast<IDropTarget*>(this);
        AddRef();
        return S_OK;
    }
    *object = nullptr;
    return E_NOINTERFACE;
}

ULONG STDMETHODCALLTYPE OleDropTarget::AddRef() {
    return static_cast<ULONG>(InterlockedIncrement(&references));
}

ULONG STDMETHODCALLTYPE OleDropTarget::Release() {
    const LONG left = InterlockedDecrement(&references);
    if (left == 0) delete this;  // the destructor throws nothing
    return static_cast<ULONG>(left);
}

HRESULT STDMETHODCALLTYPE OleDropTarget::DragEnter(IDataObject* data, DWORD keys, POINTL where,
                                                   DWORD* effect) {
    try {
        accepted = offers(data, CF_TEXT) || offers(data, CF_HDROP);
    } catch (...) {
        accepted = false;
    }
    return DragOver(keys, where, effect);
}

HRESULT STDMETHODCALLTYPE OleDropTarget::DragOver(DWORD keys, POINTL, DWORD* effect) {
    if (!effect) return E_INVALIDARG;
    if (!accepted) {
        *effect = DROPEFFECT_NONE;
    } else {
        *effect = (keys & MK_CONTROL) ? DROPEFFECT_COPY : DROPEFFECT_MOVE;
    }
    reportedEffect = *effect;
    return S_OK;
}

HRESULT STDMETHODCALLTYPE OleDropTarget::DragLeave() {
    reportedEffect = DROPEFFECT_NONE;
    return S_OK;
}

HRESULT STDMETHODCALLTYPE OleDropTarget::Drop(IDataObject* data, DWORD, POINTL, DWORD* effect) {
    // Nothing taken until a view says so: a source that deletes its
    // original after a reported move must not lose what nobody took.
    if (effect) *effect = DROPEFFECT_NONE;
    HRESULT result = S_OK;
    try {
        result = drop(data, effect);
    } catch (...) {
        if (effect) *effect = DROPEFFECT_NONE;
    }
    reportedEffect = DROPEFFECT_NONE;
    return result;
}

HRESULT OleDropTarget::drop(IDataObject* data, DWORD* effect) {
    if (!data) return S_OK;
    bool taken = false;
    STGMEDIUM medium{};
    FORMATETC text = formatOf(CF_TEXT);
    FORMATETC files = formatOf(CF_HDROP);
    if (data->GetData(&text, &medium) == S_OK) {
        taken = dropText(medium);
    } else if (data->GetData(&files, &medium) == S_OK) {
        taken = dropFiles(medium);
    }
    if (taken && effect) *effect = reportedEffect;
    return S_OK;
}

bool OleDropTarget::dropText(STGMEDIUM& medium) {
    const SIZE_T size = GlobalSize(medium.hGlobal);
    void* text = GlobalLock(medium.hGlobal);
    bool taken = false;
    try {
        if (text && size != 0 && sink) {
            void* items[1] = {text};
            taken = sink->dropped(items, static_cast<int32_t>(size), kGuiDropText);
        }
    } catch (...) {
        taken = false;
    }
    if (text) GlobalUnlock(medium.hGlobal);
    ReleaseStgMedium(&medium);
    return taken;
}

bool OleDropTarget::dropFiles(STGMEDIUM& medium) {
    auto drop = static_cast<HDROP>(medium.hGlobal);
    const UINT count = DragQueryFileA(drop, 0xFFFFFFFF, nullptr, 0);
    std::vector<std::array<char, kDropNameBytes>> names;
    std::vector<void*> items;
    try {
        names.resize(count);
        items.reserve(count);
    } catch (const std::bad_alloc&) {
        ReleaseStgMedium(&medium);
        return false;
    }
    for (UINT i = 0; i < count; ++i) {
        char* name = names[i].data();
        name[0] = '\0';
        DragQueryFileA(drop, i, name, kDropNameBytes);
        if (isShortcutName(name)) {
            std::array<char, kDropNameBytes> target{};
            if (resolveShortcut(name, target.data())) names[i] = target;
        }
        items.push_back(name);
    }
    ReleaseStgMedium(&medium);
    if (!sink) return false;
    return sink->dropped(items.data(), static_cast<int32_t>(items.size()), kGuiDropFiles);
}

bool isShortcutName(const char* name) {
    const char* dot = std::strrchr(name, '.');
    return dot && _strnicmp(dot, ".lnk", 4) == 0;
}

bool resolveShortcut(const char* shortcut, char* target) {
    Held<IShellLinkA> link;
    if (CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkA,
                         reinterpret_cast<void**>(&link.pointer)) != S_OK) {
        return false;
    }
    Held<IPersistFile> file;
    if (link.pointer->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file.pointer)) !=
        S_OK) {
        return false;
    }
    WCHAR wide[kDropNameBytes];
    if (!MultiByteToWideChar(CP_ACP, 0, shortcut, -1, wide, kDropNameBytes)) return false;
    if (file.pointer->Load(wide, STGM_READ) != S_OK) return false;
    if (FAILED(link.pointer->Resolve(nullptr, kResolveQuietly))) return false;
    char path[kDropNameBytes] = "";
    if (link.pointer->GetPath(path, kDropNameBytes, nullptr, SLGP_SHORTPATH) != S_OK) return false;
    std::memcpy(target, path, kDropNameBytes);
    return true;
}
