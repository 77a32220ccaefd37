#pragma once
// Internal to the seeds: the fixed part of every catalogue (seller, category tree with its
// attributes, shop categories), built once, and the per-listing generator that demo and scale
// share. Listing number i is the same listing in every catalogue that has at least i + 1.
#include "SeedCatalogue.h"

#include <QHash>
#include <QStringList>

namespace Quorvia::marketplace::seed {

// Kind of goods of a leaf category: decides attributes, titles, prices and the drawn picture.
enum class Profile {
    Clothing,
    Kids,
    Shoes,
    Accessory,
    Phone,
    PhoneAccessory,
    Smart,
    Carrier,
    BigAppliance,
    SmallAppliance,
    Food,
    Drink,
    Book,
    Music,
    Film,
    EduAv,
};

struct LeafInfo
{
    qint64 cid = 0;
    Profile profile = Profile::Clothing;
    QString name;          // leaf name, e.g. "T恤"
    QString path;          // "服装>>男装>>T恤"
    int level2 = 0;        // index of the level-2 parent among all level-2 categories
    qint64 shopParent = 0; // shop category the listings of this leaf usually sit in
    qint64 shopChild = 0;
    int firstAttr = 0; // attributes of the leaf: catalogue.attributes[firstAttr, firstAttr+attrCount)
    int attrCount = 0;
    qint64 brandAid = 0;
    qint64 colourAid = 0;       // first sale attribute (colour, flavour, ...); 0: none
    bool firstIsColour = false; // the first sale attribute is a colour: pictures per value
    qint64 secondSaleAid = 0;   // size or the like; 0: none
};

struct Tables
{
    SeedCatalogue base; // everything but the listings
    QVector<LeafInfo> leaves;
    QHash<qint64, int> leafByCid;
    QHash<qint64, int> attrByAid;                  // index into base.attributes
    QHash<qint64, QVector<int>> valuesByAid;       // indices into base.attrValues, in value order
    QHash<qint64, QVector<int>> venderValuesByAid; // indices into base.venderAttrValues
    QHash<qint64, QString> shopCatName;
    QHash<qint64, qint64> shopCatParent;
};

// Built on first use; safe to call from any thread.
const Tables& SeedTables();

// The "scale" seed without listings: the demo tree, then a generated tree of some thousand
// categories with a few hundred thousand attribute values. Built on first use, any thread.
const SeedCatalogue& ScaleCatalogueBase();

// Listing number `index` (0-based) of the generator.
SeedListing MakeSeedListing(const Tables& tables, int index);

// What a picture of listing `index` shows: the same choices MakeSeedListing makes, without
// building the listing's texts.
struct ListingFace
{
    Profile profile = Profile::Clothing;
    QString shortName;  // e.g. "青檬 T恤"
    QString baseColour; // "#rrggbb" of the listing's main pictures
    QVector<SeedImage> images;
    QHash<qint64, QString> colourOfVid; // colour value id -> "#rrggbb"
};
ListingFace MakeListingFace(const Tables& tables, int index);

// Identifier scheme, shared by the generator and the picture renderer.
inline constexpr qint64 kFirstVumoId = 1100000001;
inline constexpr int kMaxSeedListings = 10000000;

// The marketplace status codes and their answer texts.
QString StatusApiText(int code);

// "#rrggbb" of a colour value name ("红色" -> "#d0312d"); empty when the name is no colour.
QString ColourOfValue(const QString& name);

} // namespace Quorvia::marketplace::seed
