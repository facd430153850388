#include "clx/ImgList.h"

#include "rtl/Filer.h"

#include <QtGui/QImage>
#include <QtGui/QPainter>

TCustomImageList::TCustomImageList(TComponent* AOwner) : TComponent(AOwner) {}

TCustomImageList::~TCustomImageList() = default;

void TCustomImageList::SetWidth(Integer Value) {
    if (Value < 1 || FWidth == Value)
        return;
    FWidth = Value;
    Clear();
}

void TCustomImageList::SetHeight(Integer Value) {
    if (Value < 1 || FHeight == Value)
        return;
    FHeight = Value;
    Clear();
}

Integer TCustomImageList::AddStrips(const QImage& Source, bool Transparent) {
    Integer first = Count();
    Integer strips = std::max(Source.width() / FWidth, 1);
    for (Integer strip = 0; strip < strips; ++strip) {
        auto image = std::make_unique<TBitmap>(FWidth, FHeight);
        QImage piece = image->Image();
        {
            QPainter painter(&piece);
            painter.setCompositionMode(QPainter::CompositionMode_Source);
            painter.drawImage(0, 0, Source, strip * FWidth, 0, FWidth, FHeight);
        }
        image->SetImage(piece);
        image->SetTransparent(Transparent);
        FImages.push_back(std::move(image));
    }
    Change();
    return first;
}

Integer TCustomImageList::Add(const TBitmap* Image, const TBitmap* Mask) {
    if (!Image || Image->Empty())
        throw EInvalidOperation("Invalid image size");
    if (!Mask || Mask->Empty())
        return AddStrips(Image->Image(), Image->Transparent());
    QImage source = Image->Image().convertToFormat(QImage::Format_ARGB32);
    const QImage& mask = Mask->Image();
    for (int y = 0; y < std::min(source.height(), mask.height()); ++y)
        for (int x = 0; x < std::min(source.width(), mask.width()); ++x)
            if (qGray(mask.pixel(x, y)) >= 128)
                source.setPixel(x, y, qRgba(0, 0, 0, 0));
    return AddStrips(source, false);
}

Integer TCustomImageList::AddMasked(const TBitmap* Image, TColor MaskColor) {
    if (!Image || Image->Empty())
        throw EInvalidOperation("Invalid image size");
    QImage source = Image->Image().convertToFormat(QImage::Format_ARGB32);
    QRgb key = ColorToQColor(MaskColor).rgb() & RGB_MASK;
    for (int y = 0; y < source.height(); ++y)
        for (int x = 0; x < source.width(); ++x)
            if ((source.pixel(x, y) & RGB_MASK) == key)
                source.setPixel(x, y, qRgba(0, 0, 0, 0));
    return AddStrips(source, false);
}

void TCustomImageList::CheckIndex(Integer Index) const {
    if (Index < 0 || Index >= Count())
        throw EInvalidOperation("Image index out of bounds (" + IntToStr(Index) + ")");
}

void TCustomImageList::Delete(Integer Index) {
    CheckIndex(Index);
    FImages.erase(FImages.begin() + Index);
    Change();
}

void TCustomImageList::Clear() {
    if (FImages.empty())
        return;
    FImages.clear();
    Change();
}

void TCustomImageList::GetBitmap(Integer Index, TBitmap* Image) const {
    CheckIndex(Index);
    Image->Assign(FImages[Index].get());
}

void TCustomImageList::Draw(TCanvas* Canvas, Integer X, Integer Y, Integer Index,
                            bool Enabled) const {
    CheckIndex(Index);
    const TBitmap& image = *FImages[Index];
    if (Enabled) {
        Canvas->Draw(X, Y, &image);
        return;
    }
    TBitmap greyed;
    greyed.SetImage(image.Image().convertToFormat(QImage::Format_Grayscale8));
    greyed.SetTransparent(image.Transparent());
    Canvas->Draw(X, Y, &greyed);
}

void TCustomImageList::Assign(const TPersistent* Source) {
    const auto* list = dynamic_cast<const TCustomImageList*>(Source);
    if (!list) {
        TComponent::Assign(Source);
        return;
    }
    FWidth = list->FWidth;
    FHeight = list->FHeight;
    FImages.clear();
    for (const auto& image : list->FImages) {
        auto copy = std::make_unique<TBitmap>();
        copy->Assign(image.get());
        FImages.push_back(std::move(copy));
    }
    Change();
}

void TCustomImageList::Change() {
    if (OnChange)
        OnChange(this);
}

void TCustomImageList::DefineProperties(TFiler* Filer) {
    TComponent::DefineProperties(Filer);
    Filer->DefineBinaryProperty(
        "Bitmap", [this](TStream& Stream) { ReadImages(Stream); },
        [this](TStream& Stream) { WriteImages(Stream); }, Count() > 0);
}

void TCustomImageList::WriteImages(TStream& Stream) const {
    Byte count[4];
    for (int index = 0; index < 4; ++index)
        count[index] = static_cast<Byte>(static_cast<Cardinal>(Count()) >> (8 * index));
    Stream.WriteBuffer(count, 4);
    for (const auto& image : FImages)
        image->SaveToStream(Stream);
}

// Each image read must have the list's size: a stream that disagrees with
// Width and Height is refused rather than drawn wrongly.
void TCustomImageList::ReadImages(TStream& Stream) {
    Byte bytes[4];
    Stream.ReadBuffer(bytes, 4);
    Cardinal count = 0;
    for (int index = 0; index < 4; ++index)
        count |= static_cast<Cardinal>(bytes[index]) << (8 * index);
    std::vector<std::unique_ptr<TBitmap>> images;
    for (Cardinal index = 0; index < count; ++index) {
        auto image = std::make_unique<TBitmap>();
        image->LoadFromStream(Stream);
        if (image->Width() != FWidth || image->Height() != FHeight)
            throw EReadError("Image list image " + IntToStr(static_cast<Integer>(index)) +
                             " does not have the list's size");
        images.push_back(std::move(image));
    }
    FImages = std::move(images);
    Change();
}

void TImageList::PublishedProperties(TPropertyBuilder<TImageList>& P) {
    P.Property("Height", &TCustomImageList::Height, &TCustomImageList::SetHeight).Default(16);
    P.Property("Width", &TCustomImageList::Width, &TCustomImageList::SetWidth).Default(16);
    P.Property("OnChange", &TCustomImageList::OnChange);
}
