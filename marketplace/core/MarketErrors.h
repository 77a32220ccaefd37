#pragma once
// Error codes of the simulated platform, answered as
//   {"error_response":{"code":"<code>","zh_desc":"<text>"}}
// Envelope codes (checked before any method runs):
//   "11" a required parameter is missing          缺少必选参数：<name>
//   "12" the app_key is not registered             无效的app_key
//   "13" the access_token is not the key's token   无效的access_token
//   "14" the signature does not match              签名无效
//   "15" the method is not known                   不存在的方法名：<method>
//   "16" orvane_param_json is not a JSON object    业务参数不是有效的JSON
//   "17" a business parameter is missing/invalid   业务参数错误：<detail>
//   "50" injected failure (--fail-rate, control)   服务繁忙，请稍后重试
// Listing codes the plug-in relies on:
//   "11200004" the listing does not exist          商品不存在
//   "11200014" the listing was deleted             商品已删除
//   "11200025" the SKU does not exist (any more)   SKU不存在或已删除
//   "11200033" a seller SKU outer id is used by another listing   外部编号已被其他商品使用：<id>
//   "11200040" the category is not a known leaf    类目不存在或不是叶子类目
//   "11200050" a property picture does not exist   图片不存在
//   "11200051" the picture data is not an image    图片数据无效
#include <QByteArray>

namespace Quorvia::marketplace::errors {

inline constexpr const char* kMissingParam = "11";
inline constexpr const char* kBadAppKey = "12";
inline constexpr const char* kBadToken = "13";
inline constexpr const char* kBadSign = "14";
inline constexpr const char* kUnknownMethod = "15";
inline constexpr const char* kBadParamJson = "16";
inline constexpr const char* kBadParam = "17";
inline constexpr const char* kBusy = "50";
inline constexpr const char* kNoListing = "11200004";
inline constexpr const char* kListingDeleted = "11200014";
inline constexpr const char* kNoSku = "11200025";
inline constexpr const char* kOuterIdUsed = "11200033";
inline constexpr const char* kBadCategory = "11200040";
inline constexpr const char* kNoPicture = "11200050";
inline constexpr const char* kBadPicture = "11200051";

} // namespace Quorvia::marketplace::errors
