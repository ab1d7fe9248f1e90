#pragma once
// Raising the dataset layer's errors as the platform words them: a message about a named
// component starts with that name ("Query1: Dataset not in edit or insert mode").
#include "platform/core/String.h"

class TComponent;

[[noreturn]] void DatabaseError(const String& Message, const TComponent* Component = nullptr);
// Refuses a file that is not the database asked for (EDatabaseFileRefused).
[[noreturn]] void RefuseDatabaseFile(const String& Message);

// The platform's message texts; %1, %2 ... are filled with arg().
namespace DBConsts {
inline const String SNotEditing = QStringLiteral("数据集不在编辑或插入状态");
inline const String SDataSetClosed = QStringLiteral("不能对已关闭的数据集执行此操作");
inline const String SDataSetOpen = QStringLiteral("不能对已打开的数据集执行此操作");
inline const String SDataSetEmpty = QStringLiteral("不能对空数据集执行此操作");
inline const String SDataSetReadOnly = QStringLiteral("不能修改只读数据集");
inline const String SFieldNotFound = QStringLiteral("找不到字段“%1”");
inline const String SFieldRequired = QStringLiteral("字段“%1”必须有值");
inline const String SFieldReadOnly = QStringLiteral("字段“%1”不能修改");
inline const String SPropDefByLookup = QStringLiteral("属性已由查找字段定义");
inline const String SCircularDataLink = QStringLiteral("不允许循环数据链接");
inline const String SRecordNotFound = QStringLiteral("找不到记录");
inline const String SInvalidIntegerValue = QStringLiteral("“%1”不是字段“%2”的有效整数值");
inline const String SInvalidFloatValue = QStringLiteral("“%1”不是字段“%2”的有效浮点数值");
inline const String SInvalidBoolValue = QStringLiteral("“%1”不是字段“%2”的有效布尔值");
inline const String SFieldRangeError = QStringLiteral("%1 不是字段“%2”的有效值，允许的范围是 %3 到 %4");
}  // namespace DBConsts
