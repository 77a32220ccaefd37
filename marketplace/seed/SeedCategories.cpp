// The fixed part of the seeds: the seller, the marketplace category tree with attributes,
// values and groups, and the seller's shop categories.
#include "SeedTables.h"

#include <algorithm>
#include <mutex>

namespace Quorvia::marketplace::seed {

namespace {

struct AttrDef
{
    const char* name;
    int inputType; // 1 single select, 2 multi select, 3 free text
    int isReq;
    bool sale;
    bool key;
    int attType;        // 4: special attribute
    int group;          // 1 or 2
    const char* values; // "|"-separated, choice attributes only
};

constexpr int kSingle = 1;
constexpr int kMulti = 2;
constexpr int kText = 3;

const char* const kClothingBrands = "青檬|北岸|木棉记|森屿|简朴集|暖阳|初白|拾光|野径|云裳";
const char* const kDigitalBrands = "星澜|米果|华辰|极光|蓝岛|青鸟|锐途|朗讯达";
const char* const kApplianceBrands = "美途|格瑞|海岚|苏泊|九阳光|小熊猫|艾美特|清风";
const char* const kFoodBrands = "三只松果|良品坊|百草园|山里红|老街坊|农夫泉|蒙原|乡味";
const char* const kBookBrands = "新经典|磨铁图书|读客文化|果麦文化|中信出版|人民文学";
const char* const kAvBrands = "星海唱片|天籁音像|光影传媒|声动文化|长河影业|启明音像";
const char* const kClothingColours = "黑色|白色|灰色|藏青色|卡其色|军绿色|酒红色|米白色|粉色|天蓝色";
const char* const kSeasons = "春季|夏季|秋季|冬季";

const AttrDef kClothingAttrs[] = {
    {"品牌", kSingle, 1, false, true, 0, 1, kClothingBrands},
    {"颜色", kMulti, 1, true, false, 0, 1, kClothingColours},
    {"尺码", kMulti, 1, true, false, 0, 1, "S|M|L|XL|XXL|XXXL"},
    {"材质", kSingle, 1, false, false, 0, 1, "纯棉|涤纶|棉麻|羊毛|真丝|莫代尔|聚酯纤维|锦纶"},
    {"适用季节", kMulti, 0, false, false, 0, 2, kSeasons},
    {"风格", kSingle, 0, false, false, 0, 2, "休闲|商务|简约|复古|运动|街头|韩版|日系"},
    {"版型", kSingle, 0, false, false, 0, 2, "修身|宽松|直筒|标准"},
    {"面料成分", kText, 0, false, false, 0, 2, nullptr},
    {"执行标准", kText, 0, false, false, 4, 2, nullptr},
};

const AttrDef kKidsAttrs[] = {
    {"品牌", kSingle, 1, false, true, 0, 1, kClothingBrands},
    {"颜色", kMulti, 1, true, false, 0, 1, kClothingColours},
    {"尺码", kMulti, 1, true, false, 0, 1, "80cm|90cm|100cm|110cm|120cm|130cm|140cm|150cm"},
    {"材质", kSingle, 1, false, false, 0, 1, "纯棉|涤纶|棉麻|莫代尔|竹纤维"},
    {"适用年龄", kSingle, 1, false, false, 0, 1, "0-1岁|1-3岁|3-6岁|6-9岁|9-12岁|12岁以上"},
    {"适用季节", kMulti, 0, false, false, 0, 2, kSeasons},
    {"安全技术类别", kSingle, 1, false, false, 4, 2, "A类|B类|C类"},
    {"面料成分", kText, 0, false, false, 0, 2, nullptr},
};

const AttrDef kShoesAttrs[] = {
    {"品牌", kSingle, 1, false, true, 0, 1, kClothingBrands},
    {"颜色", kMulti, 1, true, false, 0, 1, "黑色|白色|灰色|卡其色|酒红色|天蓝色|米白色"},
    {"尺码", kMulti, 1, true, false, 0, 1, "35|36|37|38|39|40|41|42|43|44"},
    {"鞋面材质", kSingle, 1, false, false, 0, 1, "真皮|超纤|网布|帆布|飞织|反绒皮"},
    {"鞋底材质", kSingle, 0, false, false, 0, 2, "橡胶|EVA|PU|TPR"},
    {"闭合方式", kSingle, 0, false, false, 0, 2, "系带|套脚|魔术贴|拉链"},
    {"适用季节", kMulti, 0, false, false, 0, 2, kSeasons},
    {"功能", kMulti, 0, false, false, 0, 2, "防滑|透气|耐磨|减震|防水"},
    {"执行标准", kText, 0, false, false, 4, 2, nullptr},
};

const AttrDef kAccessoryAttrs[] = {
    {"品牌", kSingle, 1, false, true, 0, 1, kClothingBrands},
    {"颜色", kMulti, 1, true, false, 0, 1, "黑色|白色|灰色|藏青色|卡其色|酒红色|粉色"},
    {"材质", kSingle, 1, false, false, 0, 1, "羊毛|棉|真皮|涤纶|针织|混纺"},
    {"适用性别", kSingle, 0, false, false, 0, 2, "男|女|通用"},
    {"风格", kSingle, 0, false, false, 0, 2, "休闲|商务|简约|复古|街头"},
    {"尺寸规格", kText, 0, false, false, 0, 2, nullptr},
};

const AttrDef kPhoneAttrs[] = {
    {"品牌", kSingle, 1, false, true, 0, 1, kDigitalBrands},
    {"颜色", kMulti, 1, true, false, 0, 1, "曜石黑|冰川银|星河蓝|晨曦金|薄荷绿|玫瑰金"},
    {"机身存储", kMulti, 1, true, false, 0, 1, "64GB|128GB|256GB|512GB|1TB"},
    {"型号", kText, 1, false, true, 0, 1, nullptr},
    {"操作系统", kSingle, 1, false, false, 0, 1, "鸿蒙系统|安卓系统|其他"},
    {"网络制式", kMulti, 1, false, false, 0, 1, "5G全网通|4G全网通|双卡双待|eSIM"},
    {"屏幕尺寸", kSingle, 0, false, false, 0, 2, "6.1英寸|6.5英寸|6.7英寸|6.8英寸|7.0英寸以上"},
    {"运行内存", kSingle, 0, false, false, 0, 2, "4GB|6GB|8GB|12GB|16GB"},
    {"充电功率", kSingle, 0, false, false, 0, 2, "18W|33W|66W|100W|120W"},
    {"电池容量", kText, 0, false, false, 0, 2, nullptr},
    {"入网许可证", kText, 0, false, false, 4, 2, nullptr},
};

const AttrDef kPhoneAccessoryAttrs[] = {
    {"品牌", kSingle, 1, false, true, 0, 1, kDigitalBrands},
    {"颜色", kMulti, 1, true, false, 0, 1, "黑色|白色|透明|蓝色|粉色|绿色"},
    {"适用机型", kMulti, 1, false, false, 0, 1, "通用|星澜系列|米果系列|华辰系列|极光系列"},
    {"材质", kSingle, 0, false, false, 0, 2, "硅胶|TPU|钢化玻璃|皮革|金属|尼龙"},
    {"接口类型", kSingle, 0, false, false, 0, 2, "Type-C|Lightning|Micro USB|无线"},
    {"功能", kMulti, 0, false, false, 0, 2, "快充|防摔|磁吸|防窥|防指纹"},
    {"型号", kText, 0, false, true, 0, 2, nullptr},
};

const AttrDef kSmartAttrs[] = {
    {"品牌", kSingle, 1, false, true, 0, 1, kDigitalBrands},
    {"颜色", kMulti, 1, true, false, 0, 1, "黑色|银色|金色|粉色|蓝色"},
    {"版本", kMulti, 1, true, false, 0, 1, "标准版|NFC版|eSIM版"},
    {"型号", kText, 1, false, true, 0, 1, nullptr},
    {"连接方式", kMulti, 0, false, false, 0, 2, "蓝牙|WiFi|4G|NFC"},
    {"适用系统", kMulti, 0, false, false, 0, 2, "安卓|鸿蒙|iOS"},
    {"防水等级", kSingle, 0, false, false, 0, 2, "不防水|IP67|IP68|5ATM"},
    {"续航时间", kText, 0, false, false, 0, 2, nullptr},
};

const AttrDef kCarrierAttrs[] = {
    {"品牌", kSingle, 1, false, true, 0, 1, "中国移动|中国联通|中国电信|广电移动"},
    {"套餐类型", kSingle, 1, false, false, 0, 1, "月租套餐|流量套餐|日租卡|合约套餐"},
    {"号码归属地", kSingle, 0, false, false, 0, 1, "北京|上海|广州|深圳|成都|杭州|武汉|全国"},
    {"网络制式", kSingle, 0, false, false, 0, 2, "5G|4G"},
    {"月租", kText, 0, false, false, 0, 2, nullptr},
};

const AttrDef kBigApplianceAttrs[] = {
    {"品牌", kSingle, 1, false, true, 0, 1, kApplianceBrands},
    {"颜色", kMulti, 1, true, false, 0, 1, "白色|银色|金色|黑色"},
    {"型号", kText, 1, false, true, 0, 1, nullptr},
    {"能效等级", kSingle, 1, false, false, 4, 1, "一级能效|二级能效|三级能效"},
    {"安装方式", kSingle, 0, false, false, 0, 2, "落地式|壁挂式|嵌入式|台式"},
    {"功能", kMulti, 0, false, false, 0, 2, "智能WiFi|变频|静音|自清洁|APP控制"},
    {"控制方式", kSingle, 0, false, false, 0, 2, "机械式|电脑式|触控式|遥控"},
    {"额定功率", kText, 0, false, false, 0, 2, nullptr},
    {"产品尺寸", kText, 0, false, false, 0, 2, nullptr},
};

const AttrDef kSmallApplianceAttrs[] = {
    {"品牌", kSingle, 1, false, true, 0, 1, kApplianceBrands},
    {"颜色", kMulti, 1, true, false, 0, 1, "白色|红色|黑色|粉色|绿色|蓝色"},
    {"型号", kText, 1, false, true, 0, 1, nullptr},
    {"容量", kSingle, 0, false, false, 0, 1, "1L以下|1-2L|2-3L|3-5L|5L以上"},
    {"功能", kMulti, 0, false, false, 0, 2, "预约定时|保温|智能控制|自动断电|一键清洗"},
    {"控制方式", kSingle, 0, false, false, 0, 2, "机械式|电脑式|触控式|遥控"},
    {"额定功率", kText, 0, false, false, 0, 2, nullptr},
    {"3C认证编号", kText, 0, false, false, 4, 2, nullptr},
};

const char* const kOrigins = "北京|山东|新疆|云南|四川|浙江|福建|内蒙古|进口";
const char* const kStorage = "常温|冷藏|冷冻|阴凉干燥处";

const AttrDef kFoodAttrs[] = {
    {"品牌", kSingle, 1, false, true, 0, 1, kFoodBrands},
    {"口味", kMulti, 1, true, false, 0, 1, "原味|香辣味|五香味|烧烤味|海苔味|蜂蜜味"},
    {"净含量", kMulti, 1, true, false, 0, 1, "100g|250g|500g|1kg"},
    {"产地", kSingle, 1, false, false, 4, 1, kOrigins},
    {"保质期", kText, 1, false, false, 0, 1, nullptr},
    {"包装方式", kSingle, 0, false, false, 0, 2, "袋装|罐装|盒装|礼盒装|散装"},
    {"储存方式", kSingle, 0, false, false, 0, 2, kStorage},
    {"适用人群", kMulti, 0, false, false, 0, 2, "儿童|成人|老年人|孕妇|学生"},
    {"配料表", kText, 0, false, false, 0, 2, nullptr},
    {"生产许可证编号", kText, 0, false, false, 0, 2, nullptr},
};

const AttrDef kDrinkAttrs[] = {
    {"品牌", kSingle, 1, false, true, 0, 1, kFoodBrands},
    {"净含量", kMulti, 1, true, false, 0, 1, "250ml|500ml|1L|6瓶装|12瓶装|24瓶装"},
    {"产地", kSingle, 1, false, false, 4, 1, kOrigins},
    {"保质期", kText, 1, false, false, 0, 1, nullptr},
    {"包装方式", kSingle, 0, false, false, 0, 2, "瓶装|罐装|盒装|箱装|袋装"},
    {"储存方式", kSingle, 0, false, false, 0, 2, kStorage},
    {"配料表", kText, 0, false, false, 0, 2, nullptr},
};

// Named as the columns of the book import layout.
const AttrDef kBookAttrs[] = {
    {"ISBN", kText, 1, false, true, 0, 1, nullptr},
    {"版次", kText, 1, false, false, 0, 1, nullptr},
    {"包装", kSingle, 0, false, false, 0, 1, "平装|精装|软精装|盒装"},
    {"出版社", kSingle, 1, false, false, 0, 1,
     "人民文学出版社|作家出版社|中信出版社|商务印书馆|中华书局|上海译文出版社|译林出版社|"
     "北京大学出版社|清华大学出版社|机械工业出版社|电子工业出版社|湖南文艺出版社"},
    {"出版时间", kText, 0, false, false, 0, 2, nullptr},
    {"丛书名", kText, 0, false, false, 0, 2, nullptr},
    {"外文名", kText, 0, false, false, 0, 2, nullptr},
    {"正文语言", kSingle, 0, false, false, 0, 2, "中文|英文|日文|法文|德文|中英对照"},
    {"开本", kSingle, 0, false, false, 0, 2, "16开|32开|64开|8开|大16开|小16开"},
    {"套装数量", kText, 0, false, false, 0, 2, nullptr},
    {"页数", kText, 0, false, false, 0, 2, nullptr},
    {"字数", kText, 0, false, false, 0, 2, nullptr},
    {"印次", kText, 0, false, false, 0, 2, nullptr},
    {"印刷时间", kText, 0, false, false, 0, 2, nullptr},
    {"用纸", kSingle, 0, false, false, 0, 2, "胶版纸|铜版纸|轻型纸|纯质纸|牛皮纸"},
    {"品牌", kSingle, 0, false, false, 0, 1, kBookBrands},
    {"附件", kSingle, 0, false, false, 0, 2, "无|光盘|磁带|卡片|挂图"},
    {"附件数量", kText, 0, false, false, 0, 2, nullptr},
    {"中图法分类号", kText, 0, false, false, 4, 2, nullptr},
    {"主题词", kText, 0, false, false, 0, 2, nullptr},
    {"著者", kText, 0, false, false, 0, 1, nullptr},
    {"编者", kText, 0, false, false, 0, 2, nullptr},
    {"译者", kText, 0, false, false, 0, 2, nullptr},
    {"绘者", kText, 0, false, false, 0, 2, nullptr},
    {"校对", kText, 0, false, false, 0, 2, nullptr},
    {"整理", kText, 0, false, false, 0, 2, nullptr},
    {"注释", kText, 0, false, false, 0, 2, nullptr},
    {"编纂", kText, 0, false, false, 0, 2, nullptr},
    {"口述", kText, 0, false, false, 0, 2, nullptr},
    {"朗读", kText, 0, false, false, 0, 2, nullptr},
    {"摄影", kText, 0, false, false, 0, 2, nullptr},
    {"书写", kText, 0, false, false, 0, 2, nullptr},
};

const char* const kMedia = "CD|DVD|蓝光BD|黑胶唱片|VCD|磁带|U盘";
const char* const kAvPublishers = "星海音像出版社|天籁文化音像出版社|光影电子音像出版社|启明教育音像出版社";
const char* const kRegions = "内地|港台|欧美|日韩|其他";
const char* const kLanguages = "普通话|粤语|英语|日语|韩语|无对白";

const AttrDef kMusicAttrs[] = {
    {"品牌", kSingle, 0, false, false, 0, 1, kAvBrands},
    {"介质", kSingle, 1, false, false, 0, 1, kMedia},
    {"ISRC", kText, 1, false, true, 0, 1, nullptr},
    {"碟数", kText, 1, false, false, 0, 1, nullptr},
    {"演唱者", kText, 0, false, false, 0, 1, nullptr},
    {"专辑名称", kText, 0, false, false, 0, 1, nullptr},
    {"音乐风格", kSingle, 0, false, false, 0, 2, "流行|古典|民族|摇滚|爵士|原声|轻音乐|儿童"},
    {"出版社", kSingle, 0, false, false, 0, 2, kAvPublishers},
    {"出版时间", kText, 0, false, false, 0, 2, nullptr},
    {"地区", kSingle, 0, false, false, 0, 2, kRegions},
    {"语言", kSingle, 0, false, false, 0, 2, kLanguages},
};

const AttrDef kFilmAttrs[] = {
    {"品牌", kSingle, 0, false, false, 0, 1, kAvBrands},
    {"介质", kSingle, 1, false, false, 0, 1, kMedia},
    {"ISRC", kText, 1, false, true, 0, 1, nullptr},
    {"碟数", kText, 1, false, false, 0, 1, nullptr},
    {"集数", kText, 0, false, false, 0, 1, nullptr},
    {"导演", kText, 0, false, false, 0, 1, nullptr},
    {"主演", kText, 0, false, false, 0, 1, nullptr},
    {"字幕", kMulti, 0, false, false, 0, 2, "简体中文|繁体中文|英文|无字幕"},
    {"时长", kText, 0, false, false, 0, 2, nullptr},
    {"出版社", kSingle, 0, false, false, 0, 2, kAvPublishers},
    {"出版时间", kText, 0, false, false, 0, 2, nullptr},
    {"地区", kSingle, 0, false, false, 0, 2, kRegions},
    {"语言", kSingle, 0, false, false, 0, 2, kLanguages},
};

const AttrDef kEduAvAttrs[] = {
    {"品牌", kSingle, 0, false, false, 0, 1, kAvBrands},
    {"介质", kSingle, 1, false, false, 0, 1, kMedia},
    {"ISRC", kText, 1, false, true, 0, 1, nullptr},
    {"碟数", kText, 1, false, false, 0, 1, nullptr},
    {"集数", kText, 0, false, false, 0, 1, nullptr},
    {"主讲人", kText, 0, false, false, 0, 1, nullptr},
    {"适用对象", kMulti, 0, false, false, 0, 2, "学龄前|小学|初中|高中|大学|成人"},
    {"时长", kText, 0, false, false, 0, 2, nullptr},
    {"出版社", kSingle, 0, false, false, 0, 2, kAvPublishers},
    {"出版时间", kText, 0, false, false, 0, 2, nullptr},
    {"语言", kSingle, 0, false, false, 0, 2, kLanguages},
};

struct AttrSet
{
    const AttrDef* defs;
    int count;
    const char* group1;
    const char* group2;
};

template <int N>
constexpr AttrSet SetOf(const AttrDef (&defs)[N], const char* g1, const char* g2)
{
    return {defs, N, g1, g2};
}

AttrSet AttributesOf(Profile profile)
{
    switch (profile) {
    case Profile::Clothing:
        return SetOf(kClothingAttrs, "基本信息", "规格参数");
    case Profile::Kids:
        return SetOf(kKidsAttrs, "基本信息", "规格参数");
    case Profile::Shoes:
        return SetOf(kShoesAttrs, "基本信息", "规格参数");
    case Profile::Accessory:
        return SetOf(kAccessoryAttrs, "基本信息", "规格参数");
    case Profile::Phone:
        return SetOf(kPhoneAttrs, "主体", "规格参数");
    case Profile::PhoneAccessory:
        return SetOf(kPhoneAccessoryAttrs, "主体", "规格参数");
    case Profile::Smart:
        return SetOf(kSmartAttrs, "主体", "规格参数");
    case Profile::Carrier:
        return SetOf(kCarrierAttrs, "主体", "套餐信息");
    case Profile::BigAppliance:
        return SetOf(kBigApplianceAttrs, "主体", "规格参数");
    case Profile::SmallAppliance:
        return SetOf(kSmallApplianceAttrs, "主体", "规格参数");
    case Profile::Food:
        return SetOf(kFoodAttrs, "基本信息", "产品参数");
    case Profile::Drink:
        return SetOf(kDrinkAttrs, "基本信息", "产品参数");
    case Profile::Book:
        return SetOf(kBookAttrs, "基本信息", "出版信息");
    case Profile::Music:
        return SetOf(kMusicAttrs, "基本信息", "出版发行");
    case Profile::Film:
        return SetOf(kFilmAttrs, "基本信息", "出版发行");
    case Profile::EduAv:
        return SetOf(kEduAvAttrs, "基本信息", "出版发行");
    }
    return SetOf(kClothingAttrs, "基本信息", "规格参数");
}

// Shop categories of the seller.
struct ShopDef
{
    qint64 cid;
    qint64 parent;
    const char* name;
    bool homeShow;
};

const ShopDef kShopCats[] = {
    {5001, 0, "新品推荐", true},     {5002, 0, "服装鞋帽", true},     {5003, 0, "手机数码", true},
    {5004, 0, "家用电器", false},    {5005, 0, "美食生鲜", false},    {5006, 0, "图书音像", false},
    {5007, 0, "清仓特价", true},     {5101, 5002, "男装", false},     {5102, 5002, "女装", false},
    {5103, 5002, "童装", false},     {5104, 5002, "鞋靴配饰", false}, {5201, 5003, "手机", false},
    {5202, 5003, "数码配件", false}, {5203, 5003, "智能设备", false}, {5301, 5004, "大家电", false},
    {5302, 5004, "厨房电器", false}, {5303, 5004, "生活电器", false}, {5401, 5005, "零食饮料", false},
    {5402, 5005, "粮油茶叶", false}, {5403, 5005, "生鲜特产", false}, {5501, 5006, "图书", false},
    {5502, 5006, "音像", false},
};

struct Level2Def
{
    const char* name;
    Profile profile;
    qint64 shopChild;
    const char* leaves; // "|"-separated
};

struct TopDef
{
    const char* name;
    QVector<Level2Def> children;
};

QVector<TopDef> CategoryTree()
{
    return {
        {"服装",
         {
             {"男装", Profile::Clothing, 5101, "T恤|衬衫|POLO衫|卫衣|夹克|西服|牛仔裤|休闲裤|羽绒服|毛衣|风衣|运动裤"},
             {"女装", Profile::Clothing, 5102,
              "连衣裙|半身裙|女士T恤|女士衬衫|针织衫|女士卫衣|女士羽绒服|大衣|女士牛仔裤|阔腿裤|打底裤|雪纺衫"},
             {"童装", Profile::Kids, 5103, "儿童T恤|儿童外套|儿童裤子|儿童连衣裙|婴儿连体衣|儿童羽绒服|校服|儿童套装"},
             {"内衣", Profile::Clothing, 5102, "文胸|内裤|睡衣|保暖内衣|袜子|塑身衣|家居服"},
             {"运动服饰", Profile::Clothing, 5101, "运动T恤|运动外套|运动套装|瑜伽服|冲锋衣|速干衣|泳衣"},
             {"鞋靴", Profile::Shoes, 5104, "运动鞋|休闲鞋|皮鞋|高跟鞋|靴子|凉鞋|拖鞋|帆布鞋|童鞋"},
             {"服饰配件", Profile::Accessory, 5104, "帽子|围巾|手套|腰带|领带|披肩"},
         }},
        {"手机",
         {
             {"手机通讯", Profile::Phone, 5201, "智能手机|老人机|5G手机|游戏手机|折叠屏手机|拍照手机"},
             {"手机配件", Profile::PhoneAccessory, 5202,
              "手机壳|手机贴膜|数据线|充电器|移动电源|蓝牙耳机|手机支架|存储卡|车载支架|自拍杆|手机电池"},
             {"运营商", Profile::Carrier, 5201, "合约机|手机卡|流量卡|上网卡"},
             {"智能设备", Profile::Smart, 5203, "智能手表|智能手环|VR眼镜|智能音箱|儿童手表|运动相机|对讲机"},
         }},
        {"家用电器",
         {
             {"大家电", Profile::BigAppliance, 5301,
              "平板电视|空调|冰箱|洗衣机|热水器|油烟机|燃气灶|消毒柜|洗碗机|冷柜"},
             {"厨房小电", Profile::SmallAppliance, 5302,
              "电饭煲|微波炉|电烤箱|电磁炉|豆浆机|榨汁机|电水壶|咖啡机|空气炸锅|电压力锅|料理机|面包机"},
             {"生活电器", Profile::SmallAppliance, 5303,
              "电风扇|吸尘器|扫地机器人|加湿器|空气净化器|电暖器|挂烫机|净水器|除湿机|电熨斗"},
             {"个护健康", Profile::SmallAppliance, 5303, "电动牙刷|剃须刀|吹风机|卷发器|美容仪|按摩器|体重秤|血压计"},
             {"影音电器", Profile::BigAppliance, 5301, "家庭影院|音箱|蓝光播放机|投影仪|功放"},
         }},
        {"食品",
         {
             {"休闲零食", Profile::Food, 5401, "饼干|坚果|薯片|糖果|巧克力|果干|肉干|膨化食品|糕点|海苔"},
             {"粮油调味", Profile::Food, 5402, "大米|食用油|面粉|酱油|醋|调味酱|杂粮|挂面|方便面"},
             {"酒水饮料", Profile::Drink, 5401, "白酒|葡萄酒|啤酒|饮用水|果汁|碳酸饮料|咖啡饮料|牛奶"},
             {"茶叶", Profile::Food, 5402, "绿茶|红茶|乌龙茶|普洱|花草茶|白茶"},
             {"生鲜", Profile::Food, 5403, "水果|蔬菜|海鲜|牛肉|禽肉|蛋类"},
             {"地方特产", Profile::Food, 5403, "腊肉|月饼|粽子|蜂蜜|枸杞|红枣"},
         }},
        {"图书",
         {
             {"文学", Profile::Book, 5501, "小说|散文|诗歌|传记|纪实文学|青春文学|外国文学"},
             {"少儿", Profile::Book, 5501, "儿童文学|绘本|科普百科|少儿英语|益智游戏|卡通动漫"},
             {"教育", Profile::Book, 5501, "教材|中小学教辅|考试|外语学习|字典词典"},
             {"人文社科", Profile::Book, 5501, "历史|哲学|心理学|政治|法律|文化|社会科学"},
             {"经管励志", Profile::Book, 5501, "经济|管理|投资理财|励志与成功|市场营销"},
             {"科技", Profile::Book, 5501, "计算机与互联网|建筑|医学|工业技术|自然科学|农业"},
             {"生活", Profile::Book, 5501, "烹饪美食|旅游地图|健身保健|育儿家教|手工DIY|家居"},
             {"艺术", Profile::Book, 5501, "绘画|摄影|音乐理论|书法篆刻|设计"},
         }},
        {"音像",
         {
             {"音乐", Profile::Music, 5502, "流行音乐|古典音乐|民族音乐|摇滚|爵士|影视原声|儿童音乐|轻音乐"},
             {"影视", Profile::Film, 5502, "电影|电视剧|动画片|纪录片|综艺|戏曲"},
             {"教育音像", Profile::EduAv, 5502, "外语学习音像|少儿教育音像|健身音像|职业培训|幼儿启蒙"},
         }},
    };
}

QString AttributeFeatures(const AttrDef& def)
{
    const QString name = QString::fromUtf8(def.name);
    if (name == QStringLiteral("品牌"))
        return QStringLiteral("erpAttType:KZSX;brand:1");
    if (def.sale)
        return name.contains(QStringLiteral("颜色")) ? QStringLiteral("erpAttType:XSSX;color:1")
                                                     : QStringLiteral("erpAttType:XSSX;size:1");
    if (def.inputType == kText)
        return QStringLiteral("erpAttType:SRSX;maxLength:50");
    return QStringLiteral("erpAttType:GJSX");
}

SeedAttribute MakeAttribute(const AttrDef& def, qint64 cid, int k)
{
    SeedAttribute a;
    a.aid = cid * 100 + k + 1;
    a.cid = cid;
    a.name = QString::fromUtf8(def.name);
    a.isKeyProp = def.key;
    a.isSaleProp = def.sale;
    a.indexId = k + 1;
    a.attType = def.attType ? def.attType : 1;
    a.inputType = def.inputType;
    a.isReq = def.isReq;
    a.isNav = def.inputType != kText && def.isReq ? 1 : 0;
    a.isFet = a.name == QStringLiteral("品牌") ? 1 : 0;
    a.groupId = cid * 10 + def.group;
    a.features = AttributeFeatures(def);
    return a;
}

SeedAttrValue MakeValue(const AttrDef& def, qint64 aid, int j, const QString& name)
{
    SeedAttrValue v;
    v.aid = aid;
    v.vid = aid * 100 + j + 1;
    v.name = name;
    v.indexId = j + 1;
    const QString rgb = ColourOfValue(v.name);
    if (def.sale && !rgb.isEmpty())
        v.features = QStringLiteral("rgb:") + rgb;
    return v;
}

void AddGroups(SeedCatalogue& c, qint64 cid, const char* group1, const char* group2)
{
    c.groups.append({cid * 10 + 1, cid, QString::fromUtf8(group1), 1, 1});
    c.groups.append({cid * 10 + 2, cid, QString::fromUtf8(group2), 1, 2});
}

void AddLeafAttributes(Tables& t, LeafInfo& leaf)
{
    const AttrSet set = AttributesOf(leaf.profile);
    SeedCatalogue& c = t.base;
    AddGroups(c, leaf.cid, set.group1, set.group2);

    leaf.firstAttr = c.attributes.size();
    leaf.attrCount = set.count;
    for (int k = 0; k < set.count; ++k) {
        const AttrDef& def = set.defs[k];
        const SeedAttribute a = MakeAttribute(def, leaf.cid, k);
        t.attrByAid.insert(a.aid, c.attributes.size());
        c.attributes.append(a);

        if (a.name == QStringLiteral("品牌"))
            leaf.brandAid = a.aid;
        // Sale attributes in category order; only a colour one gets pictures per value.
        if (def.sale) {
            if (!leaf.colourAid) {
                leaf.colourAid = a.aid;
                leaf.firstIsColour = a.name.contains(QStringLiteral("颜色"));
            } else {
                leaf.secondSaleAid = a.aid;
            }
        }

        if (!def.values)
            continue;
        const QStringList names = QString::fromUtf8(def.values).split(QLatin1Char('|'));
        QVector<int>& indices = t.valuesByAid[a.aid];
        for (int j = 0; j < names.size(); ++j) {
            indices.append(c.attrValues.size());
            c.attrValues.append(MakeValue(def, a.aid, j, names.at(j)));
        }
    }
}

// The seller's own brand, a value that exists for this seller only.
void AddVenderValues(Tables& t, const LeafInfo& leaf)
{
    if (!leaf.brandAid)
        return;
    QString name;
    switch (leaf.profile) {
    case Profile::Clothing:
    case Profile::Kids:
    case Profile::Shoes:
    case Profile::Accessory:
        name = QStringLiteral("演示小店自营");
        break;
    case Profile::Food:
    case Profile::Drink:
        name = QStringLiteral("演示小店优选");
        break;
    default:
        return;
    }
    SeedAttrValue v;
    v.aid = leaf.brandAid;
    v.vid = leaf.brandAid * 100 + 90;
    v.name = name;
    v.indexId = 90;
    v.features = QStringLiteral("vender:10001");
    t.venderValuesByAid[v.aid].append(t.base.venderAttrValues.size());
    t.base.venderAttrValues.append(v);
}

Tables BuildTables()
{
    Tables t;
    SeedCatalogue& c = t.base;
    c.seller.uid = QStringLiteral("demo_seller");
    c.seller.shopName = QStringLiteral("演示小店");
    c.seller.venderId = 10001;
    c.seller.shopId = 20001;
    c.seller.shopType = 0;
    c.seller.stockMode = -1;
    c.seller.appKey = "demo-app-key";
    c.seller.appSecret = "demo-app-secret";
    c.seller.accessToken = "demo-access-token";

    int order = 0;
    for (const ShopDef& s : kShopCats) {
        SeedShopCategory sc;
        sc.cid = s.cid;
        sc.parentId = s.parent;
        sc.name = QString::fromUtf8(s.name);
        sc.isHomeShow = s.homeShow;
        sc.indexId = ++order;
        for (const ShopDef& other : kShopCats)
            sc.isParent = sc.isParent || other.parent == s.cid;
        c.shopCategories.append(sc);
        t.shopCatName.insert(sc.cid, sc.name);
        t.shopCatParent.insert(sc.cid, sc.parentId);
    }

    qint64 nextTop = 1001;
    qint64 nextLevel2 = 2001;
    qint64 nextLeaf = 10001;
    int level2Index = 0;
    const QVector<TopDef> tree = CategoryTree();
    for (int i = 0; i < tree.size(); ++i) {
        const TopDef& top = tree.at(i);
        SeedCategory topCat{nextTop++, 0, QString::fromUtf8(top.name), 1, true, i + 1, 1};
        c.categories.append(topCat);
        for (int j = 0; j < top.children.size(); ++j) {
            const Level2Def& l2 = top.children.at(j);
            SeedCategory mid{nextLevel2++, topCat.id, QString::fromUtf8(l2.name), 2, true, j + 1, 1};
            c.categories.append(mid);
            const QStringList leaves = QString::fromUtf8(l2.leaves).split(QLatin1Char('|'));
            for (int k = 0; k < leaves.size(); ++k) {
                SeedCategory leafCat{nextLeaf++, mid.id, leaves.at(k), 3, false, k + 1, 1};
                c.categories.append(leafCat);
                LeafInfo leaf;
                leaf.cid = leafCat.id;
                leaf.profile = l2.profile;
                leaf.name = leafCat.name;
                leaf.path = topCat.name + QStringLiteral(">>") + mid.name + QStringLiteral(">>") + leafCat.name;
                leaf.level2 = level2Index;
                leaf.shopChild = l2.shopChild;
                leaf.shopParent = t.shopCatParent.value(l2.shopChild);
                AddLeafAttributes(t, leaf);
                AddVenderValues(t, leaf);
                t.leafByCid.insert(leaf.cid, t.leaves.size());
                t.leaves.append(leaf);
            }
            ++level2Index;
        }
    }
    return t;
}

// ---- the scale seed's catalogue of real size ---------------------------------------------
// Generated from small word lists; the demo tree stays in front so listings keep their leaves.

const char* const kScaleTops[] = {
    "美妆个护", "母婴",     "玩具乐器", "运动户外", "汽车用品", "家具",     "家装建材", "厨具",
    "家纺",     "宠物生活", "珠宝首饰", "钟表",     "箱包皮具", "礼品鲜花", "医疗保健", "农资园艺",
    "办公设备", "电脑整机", "电脑配件", "摄影摄像", "文具",     "五金工具", "灯饰照明", "卫浴用品",
    "摩托车",   "自行车",   "户外装备", "健身器材", "游泳用品", "电子游戏", "收藏品",   "工业品",
    "清洁用品", "纸品湿巾", "成人用品", "眼镜",     "乐器",     "模型手办", "节庆用品", "本地特产",
};
const char* const kModifiers[] = {
    "精品", "时尚", "专业", "家用", "户外", "儿童", "经典",   "智能", "便携", "进口", "国产", "复古",
    "轻奢", "环保", "商务", "休闲", "创意", "迷你", "多功能", "手工", "车载", "季节", "定制", "礼品",
};
const char* const kGoods[] = {"套装", "配件", "用品", "工具", "器材", "饰品",
                              "收纳", "装备", "耗材", "摆件", "护理", "周边"};
const char* const kMaterials[] = {"木质", "金属", "塑料",   "陶瓷", "玻璃", "布艺",
                                  "皮革", "竹制", "不锈钢", "硅胶", "纯棉", "亚克力"};
const char* const kItems[] = {"架", "盒", "袋", "桶", "杯", "垫", "套", "灯",
                              "刷", "夹", "瓶", "罐", "包", "椅", "桌", "柜"};
const char* const kBrandHeads[] = {"云", "星", "蓝", "金", "绿", "锦", "华", "恒", "瑞", "美",
                                   "德", "安", "康", "乐", "佳", "盛", "泰", "宏", "雅", "欣",
                                   "博", "创", "优", "嘉", "润", "信", "鑫", "朗", "晨", "辰"};
const char* const kBrandTails[] = {"达", "源", "丰", "途", "森", "禾", "邦", "诺", "派", "尚",
                                   "航", "力", "泽", "凯", "帆", "川", "维", "腾", "家", "品"};
const char* const kColours[] = {"黑色", "白色",   "灰色", "藏青色", "卡其色", "军绿色", "酒红色", "米白色",
                                "粉色", "天蓝色", "蓝色", "绿色",   "银色",   "金色",   "红色",   "透明"};
const char* const kUnits[] = {"cm", "mm", "ml", "g", "寸"};
const char* const kSelectNames[] = {"材质",     "产地",     "风格",     "形状",     "图案",     "工艺",     "重量",
                                    "尺寸",     "容量",     "功率",     "等级",     "系列",     "适用年龄", "适用性别",
                                    "上市时间", "包装方式", "表面处理", "适用空间", "安装方式", "货源类别"};
const char* const kMultiNames[] = {"适用场景", "功能", "适用人群", "流行元素", "包装清单", "配送说明"};
const char* const kValueWords[] = {"标准", "加厚", "轻薄", "大号", "中号", "小号", "经典", "升级",
                                   "豪华", "简约", "复古", "时尚", "便携", "折叠", "防水", "耐磨",
                                   "加长", "迷你", "双层", "单层", "多色", "纯色", "拼色", "印花"};

template <class T, int N>
constexpr int Size(T (&)[N])
{
    return N;
}

// A fixed scramble of a number: the same catalogue on every machine and call.
int Pick(qint64 x, int salt, int n)
{
    quint64 z = quint64(x) * 0x9E3779B97F4A7C15ull + quint64(salt) * 0xBF58476D1CE4E5B9ull;
    z = (z ^ (z >> 31)) * 0x94D049BB133111EBull;
    return int((z ^ (z >> 29)) % quint64(n));
}

// Names of a generated leaf's choice attribute values; none for a free-text one.
QStringList GeneratedValues(int kind, qint64 cid, int k)
{
    QStringList names;
    switch (kind) {
    case 0: // brand: two-syllable names, unique within the attribute
        for (int j = 0, n = 20 + Pick(cid, k, 31); j < n; ++j)
            names << QString::fromUtf8(kBrandHeads[(Pick(cid, 1, 30) + j) % 30])
                    + QString::fromUtf8(kBrandTails[(Pick(cid, 2, 20) + j + j / 30) % 20]);
        break;
    case 1: // colour
        for (int j = 0, n = 8 + Pick(cid, k, 9); j < n; ++j)
            names << QString::fromUtf8(kColours[(Pick(cid, 3, 16) + j) % 16]);
        break;
    case 2: { // size with a unit
        const QString unit = QString::fromUtf8(kUnits[Pick(cid, 4, Size(kUnits))]);
        for (int j = 0, n = 5 + Pick(cid, k, 8); j < n; ++j)
            names << QString::number((j + 1) * (5 + Pick(cid, 5, 6) * 5)) + unit;
        break;
    }
    case 3: // single or multi select: distinct words, 5 is prime to the list's 24
        for (int j = 0, n = (k < 7 ? 5 : 4) + Pick(cid, k, k < 7 ? 12 : 7); j < n; ++j)
            names << QString::fromUtf8(kValueWords[(Pick(cid, k + 10, 24) + j * 5) % 24]);
        break;
    default:
        break;
    }
    return names;
}

void AddGeneratedLeaf(SeedCatalogue& c, qint64 cid)
{
    AddGroups(c, cid, "基本信息", "规格参数");
    // Brand, two sale attributes, four single and two multi selects, three free texts.
    const int base = Pick(cid, 6, 20);
    const int multiBase = Pick(cid, 7, Size(kMultiNames));
    for (int k = 0; k < 12; ++k) {
        AttrDef def{nullptr, kSingle, 0, false, false, 0, 2, nullptr};
        int kind = 3;
        if (k == 0) {
            def = {"品牌", kSingle, 1, false, true, 0, 1, nullptr};
            kind = 0;
        } else if (k == 1) {
            def = {"颜色", kMulti, 1, true, false, 0, 1, nullptr};
            kind = 1;
        } else if (k == 2) {
            def = {"规格", kMulti, 1, true, false, 0, 1, nullptr};
            kind = 2;
        } else if (k < 7) {
            def.name = kSelectNames[(base + (k - 3) * 7) % 20]; // 7 is prime to 20: distinct names
            def.isReq = k < 5;
            def.group = k < 5 ? 1 : 2;
        } else if (k < 9) {
            def.name = kMultiNames[(multiBase + k - 7) % Size(kMultiNames)];
            def.inputType = kMulti;
        } else {
            static const AttrDef texts[] = {{"型号", kText, 1, false, true, 0, 1, nullptr},
                                            {"货号", kText, 0, false, false, 0, 2, nullptr},
                                            {"执行标准", kText, 0, false, false, 4, 2, nullptr}};
            def = texts[k - 9];
            kind = -1;
        }
        const SeedAttribute a = MakeAttribute(def, cid, k);
        c.attributes.append(a);
        const QStringList names = GeneratedValues(kind, cid, k);
        for (int j = 0; j < names.size(); ++j)
            c.attrValues.append(MakeValue(def, a.aid, j, names.at(j)));
        // Some leaves carry the seller's own brands.
        for (int n = 0; kind == 0 && Pick(cid, 8, 3) == 0 && n < 1 + Pick(cid, 9, 2); ++n) {
            SeedAttrValue v;
            v.aid = a.aid;
            v.vid = a.aid * 100 + 90 + n;
            v.name = n ? QStringLiteral("演示小店定制") : QStringLiteral("演示小店自营");
            v.indexId = 90 + n;
            v.features = QStringLiteral("vender:10001");
            c.venderAttrValues.append(v);
        }
    }
}

SeedCatalogue BuildScaleCatalogue(const SeedCatalogue& demo)
{
    SeedCatalogue c = demo;
    qint64 nextLevel2 = 4001;
    qint64 nextLeaf = 20001;
    const int firstIndex = int(std::count_if(demo.categories.cbegin(), demo.categories.cend(),
                                             [](const SeedCategory& x) { return x.lev == 1; }));
    for (int i = 0; i < Size(kScaleTops); ++i) {
        const SeedCategory top{1101 + i, 0, QString::fromUtf8(kScaleTops[i]), 1, true, firstIndex + i + 1, 1};
        c.categories.append(top);
        for (int j = 0, n2 = 16 + Pick(top.id, 0, 9); j < n2; ++j) {
            // Modifier index differs for every j < 24: names are unique under their parent.
            const QString name2 = QString::fromUtf8(kModifiers[(i + j) % 24])
                + QString::fromUtf8(kGoods[(i * 3 + j) % Size(kGoods)]);
            const SeedCategory mid{nextLevel2++, top.id, name2, 2, true, j + 1, 1};
            c.categories.append(mid);
            for (int k = 0, n3 = 2 + Pick(mid.id, 0, 5); k < n3; ++k) {
                const QString name3 = QString::fromUtf8(kMaterials[(j + k) % Size(kMaterials)])
                    + QString::fromUtf8(kItems[(i * 5 + j + k * 3) % Size(kItems)]);
                c.categories.append({nextLeaf, mid.id, name3, 3, false, k + 1, 1});
                AddGeneratedLeaf(c, nextLeaf++);
            }
        }
    }
    return c;
}

} // namespace

const Tables& SeedTables()
{
    static std::once_flag once;
    static Tables* tables = nullptr;
    std::call_once(once, [] { tables = new Tables(BuildTables()); });
    return *tables;
}

const SeedCatalogue& ScaleCatalogueBase()
{
    static std::once_flag once;
    static SeedCatalogue* catalogue = nullptr;
    std::call_once(once, [] { catalogue = new SeedCatalogue(BuildScaleCatalogue(SeedTables().base)); });
    return *catalogue;
}

QString ColourOfValue(const QString& name)
{
    static const QHash<QString, QString> colours = {
        {QStringLiteral("黑色"), QStringLiteral("#2b2b2b")},   {QStringLiteral("白色"), QStringLiteral("#f5f5f2")},
        {QStringLiteral("灰色"), QStringLiteral("#8e8e8e")},   {QStringLiteral("藏青色"), QStringLiteral("#1f2f4f")},
        {QStringLiteral("卡其色"), QStringLiteral("#c3a676")}, {QStringLiteral("军绿色"), QStringLiteral("#4b5a2a")},
        {QStringLiteral("酒红色"), QStringLiteral("#7b1e2b")}, {QStringLiteral("米白色"), QStringLiteral("#efe6d2")},
        {QStringLiteral("粉色"), QStringLiteral("#f2a7bb")},   {QStringLiteral("天蓝色"), QStringLiteral("#5fa8d3")},
        {QStringLiteral("曜石黑"), QStringLiteral("#1c1c22")}, {QStringLiteral("冰川银"), QStringLiteral("#d7dde2")},
        {QStringLiteral("星河蓝"), QStringLiteral("#2c4f8c")}, {QStringLiteral("晨曦金"), QStringLiteral("#e5c98f")},
        {QStringLiteral("薄荷绿"), QStringLiteral("#9ed9c0")}, {QStringLiteral("玫瑰金"), QStringLiteral("#e0b4a8")},
        {QStringLiteral("透明"), QStringLiteral("#e8eef2")},   {QStringLiteral("蓝色"), QStringLiteral("#2f6db5")},
        {QStringLiteral("绿色"), QStringLiteral("#3a9d5d")},   {QStringLiteral("银色"), QStringLiteral("#c4c7cc")},
        {QStringLiteral("金色"), QStringLiteral("#d4af37")},   {QStringLiteral("红色"), QStringLiteral("#d0312d")},
    };
    return colours.value(name);
}

QString StatusApiText(int code)
{
    switch (code) {
    case 1:
        return QStringLiteral("NEVER_UP");
    case 2:
        return QStringLiteral("CUSTORMER_DOWN");
    case 4:
        return QStringLiteral("SYSTEM_DOWN");
    case 8:
        return QStringLiteral("ON_SALE");
    case 513:
        return QStringLiteral("NEVER_UP AUDIT_AWAIT");
    case 514:
        return QStringLiteral("CUSTORMER_DOWN AUDIT_AWAIT");
    case 516:
        return QStringLiteral("SYSTEM_DOWN AUDIT_AWAIT");
    case 520:
        return QStringLiteral("ON_SALE AUDIT_AWAIT");
    case 1026:
        return QStringLiteral("CUSTORMER_DOWN AUDIT_FAIL");
    case 1028:
        return QStringLiteral("SYSTEM_DOWN AUDIT_FAIL");
    default:
        return QString();
    }
}

} // namespace Quorvia::marketplace::seed
