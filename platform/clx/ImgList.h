// TImageList: a list of images of one size that controls and canvases draw
// by index.
#pragma once

#include "clx/Graphics.h"

class QImage;

// Images are Width x Height bitmaps. Adding a bitmap wider than Width adds
// one image per Width-wide strip of it (a narrower or shorter bitmap is one
// image, placed in the top-left corner of a white one). Changing Width or
// Height clears the list. Form files keep the images in the binary property
// "Bitmap": a 4-byte little-endian count, then each image as a TBitmap
// stream.
class TCustomImageList : public TComponent {
    ZX_CLASS(TCustomImageList, TComponent)
public:
    explicit TCustomImageList(TComponent* AOwner);
    ~TCustomImageList() override;

    Integer Width() const { return FWidth; }
    void SetWidth(Integer Value);
    Integer Height() const { return FHeight; }
    void SetHeight(Integer Value);
    Integer Count() const { return static_cast<Integer>(FImages.size()); }

    // The index of the first image added. Where Mask (of the image's size)
    // is white, the image is transparent; without it the image's own
    // transparency counts.
    Integer Add(const TBitmap* Image, const TBitmap* Mask = nullptr);
    // Adds Image with every pixel of MaskColor transparent.
    Integer AddMasked(const TBitmap* Image, TColor MaskColor);
    void Delete(Integer Index);
    void Clear();
    // Copies image Index into Image (EInvalidOperation for a bad index).
    void GetBitmap(Integer Index, TBitmap* Image) const;
    // Draws image Index with its top-left corner at (X, Y); a disabled
    // image is drawn greyed.
    void Draw(TCanvas* Canvas, Integer X, Integer Y, Integer Index, bool Enabled = true) const;

    void Assign(const TPersistent* Source) override;
    void DefineProperties(TFiler* Filer) override;

    TNotifyEvent OnChange;

protected:
    void Change();

private:
    void CheckIndex(Integer Index) const;
    // Adds Source cut into strips (see the class).
    Integer AddStrips(const QImage& Source, bool Transparent);
    void ReadImages(TStream& Stream);
    void WriteImages(TStream& Stream) const;

    Integer FWidth = 16;
    Integer FHeight = 16;
    std::vector<std::unique_ptr<TBitmap>> FImages;
};

class TImageList : public TCustomImageList {
    ZX_CLASS(TImageList, TCustomImageList)
public:
    using TCustomImageList::TCustomImageList;
    static void PublishedProperties(TPropertyBuilder<TImageList>& P);
};
