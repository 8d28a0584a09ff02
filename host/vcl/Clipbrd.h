#pragma once
// The clipboard object: text, pictures, components and raw formats over the
// window system's clipboard.
//
// Open/Close nest. Inside one Open..Close pair the first thing put on the
// clipboard empties it and later ones add formats beside it, so a caller can
// offer one piece of data in several formats; outside a pair each Set...
// replaces the clipboard's whole content.
//
// How graphics travel: a bitmap goes as CF_BITMAP (a bitmap handle) and as
// CF_DIB (a packed device-independent bitmap in movable global memory); a
// metafile goes as CF_METAFILEPICT, a global block holding the library's own
// metafile stream (see TMetafile::SaveToStream). Components go as their binary
// form under the registered format CF_COMPONENT.
#include <string>
#include <vector>

#include "host/vcl/Classes.h"
#include "host/vcl/Graphics.h"
#include "host/win/WinUser.h"

namespace host {

class TWinControl;

// Registered when the library loads.
extern const UINT CF_PICTURE;
extern const UINT CF_COMPONENT;

class TClipboard : public TPersistent {
    HOST_CLASS(TClipboard, TPersistent)
public:
    TClipboard() = default;
    ~TClipboard() override;
    TClipboard(const TClipboard&) = delete;
    TClipboard& operator=(const TClipboard&) = delete;

    // Raises Exception "Cannot open clipboard" when another window holds it.
    virtual void Open();
    // Closes for real when the last Open is matched.
    virtual void Close();
    void Clear();

    // Puts a TPicture's graphic, a TBitmap or a TMetafile on the clipboard;
    // other sources go to TPersistent::Assign.
    void Assign(TPersistent* Source) override;

    bool HasFormat(UINT Format);
    int GetFormatCount();
    UINT GetFormats(int Index);

    std::string GetAsText();
    void SetAsText(const std::string& Value);
    // Copies at most BufSize - 1 characters and a terminating NUL; returns
    // the number of characters copied.
    int GetTextBuf(char* Buffer, int BufSize);
    void SetTextBuf(const char* Buffer);

    // The handle stays the clipboard's: use it before the clipboard changes.
    HANDLE GetAsHandle(UINT Format);
    // The clipboard takes Value over (a global block, or a bitmap for CF_BITMAP).
    void SetAsHandle(UINT Format, HANDLE Value);
    // Copies Size bytes into a new movable global block under Format.
    void SetBuffer(UINT Format, const void* Buffer, size_t Size);
    // The bytes of a global-memory format; empty when the format is absent.
    std::vector<uint8_t> GetBuffer(UINT Format);

    void SetComponent(TComponent* Component);
    // Reads the component on the clipboard with Owner and Parent (when it is
    // a control and Parent is given); nullptr when there is none.
    TComponent* GetComponent(TComponent* Owner, TComponent* Parent);

    int GetOpenRefCount() const { return FOpenRefCount; }

protected:
    // Loads the clipboard's picture into a TPicture, TBitmap or TMetafile.
    void AssignTo(TPersistent* Dest) override;

private:
    // The first data of an Open..Close pair empties the clipboard.
    void Adding();
    void AssignGraphic(TGraphic* Graphic);
    void AssignBitmap(TBitmap* Bitmap);
    void AssignMetafile(TMetafile* Metafile);
    void AssignToPicture(TPicture* Picture);
    bool LoadBitmap(TBitmap* Bitmap);
    bool LoadMetafile(TMetafile* Metafile);
    void PutHandle(UINT Format, HANDLE Value);

    int FOpenRefCount = 0;
    bool FEmptied = false;
};

// The application's clipboard object, made on first use.
TClipboard* Clipboard();
// Replaces the clipboard object (for tests); returns the previous one, which
// the caller then owns. The object passed is owned by the library.
TClipboard* SetClipboard(TClipboard* NewClipboard);

} // namespace host
