#pragma once
// Image lists as components: a window-system image list made on demand, with
// the drawing style and colours its Draw uses, streamed in form files.
#include "host/vcl/Classes.h"
#include "host/vcl/Graphics.h"
#include "host/win/CommCtrl.h"

namespace host {

HOST_ENUM(TDrawingStyle, dsFocus, dsSelected, dsNormal, dsTransparent)
HOST_ENUM(TImageType, itImage, itMask)

class TCustomImageList : public TComponent {
    HOST_CLASS(TCustomImageList, TComponent)
public:
    explicit TCustomImageList(TComponent* AOwner);
    TCustomImageList(TComponent* AOwner, int AWidth, int AHeight);
    static TCustomImageList* CreateSize(int AWidth, int AHeight);
    void Assign(TPersistent* Source) override;

    // Mask may be nullptr (every pixel opaque); without an Image a blank,
    // transparent image is added. Returns the new index.
    int Add(TBitmap* Image, TBitmap* Mask);
    // The pixels of MaskColor become transparent; clDefault takes Image's
    // transparent colour.
    int AddMasked(TBitmap* Image, TColor MaskColor);
    // Appends every image of another list.
    void AddImages(TCustomImageList* Value);
    void Replace(int Index, TBitmap* Image, TBitmap* Mask);
    void ReplaceMasked(int Index, TBitmap* NewImage, TColor MaskColor);
    void Delete(int Index);
    void Clear();
    void Draw(TCanvas* Canvas, int X, int Y, int Index);
    // Draws image Index onto a bitmap of the image size.
    void GetBitmap(int Index, TBitmap* Image);

    int GetCount();
    HIMAGELIST GetHandle();
    // Adopts Value; with ShareImages the list never destroys it.
    void SetHandle(HIMAGELIST Value);
    bool HandleAllocated() const { return FHandle != nullptr; }
    int GetWidth() const { return FWidth; }
    void SetWidth(int Value);
    int GetHeight() const { return FHeight; }
    void SetHeight(int Value);
    int GetAllocBy() const { return FAllocBy; }
    void SetAllocBy(int Value) { FAllocBy = Value > 0 ? Value : 1; }
    TColor GetBkColor() const { return FBkColor; }
    void SetBkColor(TColor Value);
    TColor GetBlendColor() const { return FBlendColor; }
    void SetBlendColor(TColor Value);
    TDrawingStyle GetDrawingStyle() const { return FDrawingStyle; }
    void SetDrawingStyle(TDrawingStyle Value);
    TImageType GetImageType() const { return FImageType; }
    void SetImageType(TImageType Value);
    bool GetMasked() const { return FMasked; }
    void SetMasked(bool Value);
    bool GetShareImages() const { return FShareImages; }
    void SetShareImages(bool Value) { FShareImages = Value; }

    TNotifyEvent OnChange;

protected:
    void Destroy() override;
    void DefineProperties(TFiler* Filer) override;
    virtual void Change();
    virtual void DoDraw(int Index, TCanvas* Canvas, int X, int Y, UINT Style);
    void CheckIndex(int Index) const;

    int FWidth = 16;
    int FHeight = 16;
    int FAllocBy = 4;
    TColor FBkColor = clNone;
    TColor FBlendColor = clNone;
    TDrawingStyle FDrawingStyle = dsNormal;
    TImageType FImageType = itImage;
    bool FMasked = true;
    bool FShareImages = false;

private:
    void FreeHandle();
    // A new handle of the current size and mask flag holding Count images
    // copied from Old (which is then destroyed unless shared).
    void Rebuild(HIMAGELIST Old, bool KeepImages);
    void ReadData(TStream* Stream);
    void WriteData(TStream* Stream);
    bool HasImages() const;

    HIMAGELIST FHandle = nullptr;
};

class TImageList : public TCustomImageList {
    HOST_CLASS(TImageList, TCustomImageList)
public:
    using TCustomImageList::TCustomImageList;
};

// The window-system colour of a framework colour: clNone and clDefault become
// CLR_NONE and CLR_DEFAULT.
COLORREF GetRGBColor(TColor Value);

} // namespace host
