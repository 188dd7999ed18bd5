#include "folder_picker.h"

#include <shobjidl.h>

#include <memory>

namespace tavrel {

namespace {

struct Releaser {
    void operator()(IUnknown* object) const { object->Release(); }
};
template <class T>
using ComPointer = std::unique_ptr<T, Releaser>;

struct TaskMemoryFreer {
    void operator()(wchar_t* text) const { CoTaskMemFree(text); }
};

// COM for the picker, as long as it is shown; S_FALSE when this thread had it already.
class ComScope {
public:
    ComScope() : result_(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE)) {}
    ~ComScope() {
        if (SUCCEEDED(result_)) CoUninitialize();
    }

private:
    HRESULT result_;
};

std::optional<std::wstring> ChosenPath(IFileOpenDialog& dialog) {
    IShellItem* chosen = nullptr;
    if (FAILED(dialog.GetResult(&chosen))) return std::nullopt;
    const ComPointer<IShellItem> item(chosen);
    wchar_t* path = nullptr;
    if (FAILED(item->GetDisplayName(SIGDN_FILESYSPATH, &path))) return std::nullopt;
    const std::unique_ptr<wchar_t, TaskMemoryFreer> owned(path);
    return std::wstring(path);
}

}  // namespace

std::optional<std::wstring> PickFolder(HWND hwnd) {
    const ComScope com;
    IFileOpenDialog* created = nullptr;
    if (FAILED(CoCreateInstance(CLSID_FileOpenDialog, nullptr, CLSCTX_INPROC_SERVER, IID_PPV_ARGS(&created))))
        return std::nullopt;
    const ComPointer<IFileOpenDialog> dialog(created);
    FILEOPENDIALOGOPTIONS options = 0;
    dialog->GetOptions(&options);
    dialog->SetOptions(options | FOS_PICKFOLDERS | FOS_FORCEFILESYSTEM);
    dialog->SetTitle(L"フォルダを選択");
    if (FAILED(dialog->Show(hwnd))) return std::nullopt;
    return ChosenPath(*dialog);
}

}  // namespace tavrel
