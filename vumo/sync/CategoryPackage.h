#pragma once
// The category change package of the workbench's API server, read and checked whole before
// anything is written:
//
//   <version>                                   only a new version: nothing changed
//   <version> LF <record> TAB <record> ...      a version and the changed categories
//
// A record is one category: 1 to 5 sections split at CR, each a JSON object with one of the
// keys "category" (an object), "attributes", "att_values", "groups", "vender_att_values"
// (arrays of objects). Values must have their column's type: a whole number (or a text
// holding one) for numbers, a text for texts; a missing member keeps the column's default.
#include "database/CategoryRows.h"

#include <QByteArray>
#include <QJsonObject>
#include <QString>

#include <functional>

namespace Quorvia::vumo::sync {

struct CategoryPackage
{
    qint64 version = 0;
    bool hasData = false; // the second part was there (it may hold no record)
    QVector<database::CategoryRecordRows> records;
};

// "类目数据请求失败" unless the reply is a package at all: status 200, a body, and not an
// error answer of the gateway (a body beginning with "{").
bool CategoryReplyAccepted(int status, const QByteArray& body);

// Reads the whole body into `package`. False with the seller's text in `error`:
// "类目数据解析错误" for a bad version, too many parts or a record of too many sections,
// "类目数据解析错误:%1" (%1 naming the record and member) for a bad section or value.
// `keepGoing(read, total)` is asked between records with the bytes read so far; false from it
// stops the read (error left empty).
bool ReadCategoryPackage(const QByteArray& body, CategoryPackage& package, QString& error,
                         const std::function<bool(qint64 read, qint64 total)>& keepGoing = {});

// One category with its attributes, values and groups, each read from the API's object
// shape with the type checks above; false with `problem` naming the member that failed.
bool ReadCategoryRow(const QJsonObject& object, database::CategoryRow& row, QString& problem);
bool ReadAttributeRow(const QJsonObject& object, database::CategoryAttributeRow& row, QString& problem);
bool ReadAttributeValueRow(const QJsonObject& object, database::AttributeValueRow& row, QString& problem);
bool ReadAttributeGroupRow(const QJsonObject& object, database::AttributeGroupRow& row, QString& problem);

// The brand attribute of a category: the one named "品牌", else the first whose features
// hold "erpAttType:KZSX" and a key "brand". -1 when there is none.
int BrandAttributeIndex(const QVector<database::CategoryAttributeRow>& attributes);

} // namespace Quorvia::vumo::sync
