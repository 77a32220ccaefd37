#pragma once
// The open-API gateway of the simulator: checks the signed envelope and answers every listing
// operation, the picture calls, the category package and the workbench server calls. Works on
// already decoded parameters, so it is tested without sockets; MarketplaceServer feeds it.
#include <QByteArray>
#include <QCache>
#include <QJsonArray>
#include <QJsonObject>
#include <QMap>
#include <QString>

namespace Quorvia::marketplace {

class MarketStore;
struct MarketListing;

using ParamMap = QMap<QByteArray, QByteArray>;

struct GatewayRequest
{
    ParamMap params; // form fields, or the text fields of a multipart form
    QByteArray file; // the file part of a multipart form
    bool multipart = false;
};

struct GatewayAnswer
{
    QByteArray body;
    QByteArray contentType = "application/json;charset=UTF-8";
    QString method;    // as sent (may be empty for a broken envelope)
    QString errorCode; // empty on success
};

class MarketGateway final
{
public:
    // The fixed secret of the workbench server calls (usage statistics).
    static const QByteArray kServerSecret;

    explicit MarketGateway(MarketStore& store);

    // "http://127.0.0.1:PORT": picture addresses in answers start with it.
    void SetBaseUrl(const QString& base) { m_baseUrl = base; }
    QString BaseUrl() const { return m_baseUrl; }

    GatewayAnswer Handle(const GatewayRequest& request);

    // Upper-case MD5 of secret + every name/value pair except "sign" in ascending byte order of
    // the names + secret.
    static QByteArray Sign(const ParamMap& params, const QByteArray& secret);
    static QByteArray ErrorBody(const QString& code, const QString& zhDesc);
    static bool IsKnownMethod(const QString& method);

    // The category package answered as these bytes instead of being built (tests choose what
    // the package server says); a null array builds it again.
    void SetPackageOverride(const QByteArray& body) { m_packageOverride = body; }
    // The version the last package call asked for; -1 before any.
    qint64 LastPackageVersion() const { return m_lastPackageVersion; }

    // What the workbench server calls received (for the state summary).
    const QJsonArray& Statistics() const { return m_statistics; }
    int SynchroCount() const { return m_synchroCount; }

    // Image host: bytes for a "/imgzone/..." path with its size variant; false when unknown.
    bool PictureFor(const QString& path, QByteArray* bytes, QByteArray* contentType) const;
    // Public page of a listing (HTML), empty for an unknown number.
    QByteArray ListingPage(qint64 vumoId) const;

private:
    struct Reply
    {
        QJsonObject member; // the answer under "<method>_response"
        QString errorCode;  // set: answer error_response instead
        QString errorText;
        QByteArray raw; // set: answered as it is (category package)
    };
    // One row per open-API method: its name, the member its answer sits under ("" for an
    // answer sent as it is) and what answers it.
    struct Method
    {
        const char* name;
        const char* member;
        Reply (*answer)(MarketGateway& gateway, const QJsonObject& p, const GatewayRequest& request);
    };
    static const Method* FindMethod(const QString& name);

    static Reply Error(const char* code, const QString& text);
    static Reply Ok(const QJsonObject& member);
    // The store could not write; the caller may try again.
    static Reply Busy();
    // The listing when it exists and is not deleted; otherwise null, with `refusal` set to the
    // answer for a gone or deleted listing.
    const MarketListing* LiveListing(qint64 id, Reply& refusal) const;

    Reply Search(const QJsonObject& p);
    Reply Get(const QJsonObject& p);
    Reply Add(const QJsonObject& p);
    Reply Update(const QJsonObject& p);
    Reply Delete(const QJsonObject& p);
    Reply SkuStock(const QJsonObject& p);
    Reply SkuPrice(const QJsonObject& p);
    Reply SkuDelete(const QJsonObject& p);
    Reply PictureUpload(const QJsonObject& p);
    Reply PropimgAdd(const QJsonObject& p, const GatewayRequest& request);
    Reply PropimgUpdate(const QJsonObject& p);
    Reply PropimgDelete(const QJsonObject& p);
    Reply PropimgsSearch(const QJsonObject& p);
    Reply CatsGet(const QJsonObject& p);
    Reply AttributeGet(const QJsonObject& p);
    Reply AttvalueGet(const QJsonObject& p);
    Reply GroupsGet(const QJsonObject& p);
    Reply SellerCatsGet(const QJsonObject& p);
    Reply CategoryPackage(const QJsonObject& p);
    Reply GoodSynchro(const QJsonObject& p);
    Reply LogStatistics(const QJsonObject& p, const ParamMap& params);

    // Shared by add and update: writes the upload text onto the listing. A refused upload may
    // leave the listing half written, so both work on a copy and store it only on success.
    Reply ApplyUpload(const QJsonObject& p, MarketListing& listing, bool isNew);
    // The SKU lists of an upload, split at "|".
    struct UploadSkus;
    // Title, category, prices and counts; writes the category and prices it accepts.
    Reply CheckUploadMembers(const QJsonObject& p, QJsonObject& v, bool isNew);
    // The SKU lists agree in length, hold valid prices and stocks, and no outer number is
    // repeated or already another listing's.
    Reply CheckUploadSkus(const QJsonObject& p, qint64 id, UploadSkus& skus);
    // "vumo_attribute" and the brand, from the attribute members this call sent.
    void WriteAttributeMembers(const QJsonObject& p, QJsonObject& v, bool isNew);
    void WriteUploadSkus(const QJsonObject& p, MarketListing& listing, const UploadSkus& skus, bool isNew,
                         const QString& now);
    // Stores the picture and makes it the listing's first, main one.
    Reply AddMainPicture(const QByteArray& picture, MarketListing& listing);
    Reply StorePicture(const QByteArray& bytes, QString* path);
    QString PictureUrl(const QString& path, const char* variant = "n0") const;
    // Seeded listings name the image host by a placeholder or a bare "/imgzone/" path, since
    // the port is only known at run time; answers carry this server's address instead.
    QJsonObject OnThisHost(QJsonObject vumo) const;
    QJsonObject ListingAnswer(const MarketListing& listing, const QStringList& fields) const;

    MarketStore& m_store;
    QString m_baseUrl;
    QJsonArray m_statistics;
    int m_synchroCount = 0;
    QByteArray m_packageOverride;
    qint64 m_lastPackageVersion = -1;
    // Drawing a seeded picture costs far more than serving it, and a real image host serves
    // stored files: each drawn picture is kept (cost in KiB, 256 MiB at most).
    struct DrawnPicture
    {
        QByteArray bytes;
        QByteArray contentType;
    };
    mutable QCache<QString, DrawnPicture> m_drawn{256 * 1024};
};

} // namespace Quorvia::marketplace
