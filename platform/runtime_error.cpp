#include "platform/runtime_error.h"

#include <string>
#include <utility>

#include "platform/utf.h"

namespace platform {

std::u16string StandardErrorText(int number) {
    switch (number) {
        case kErrInvalidCall:
            return u"无效的过程调用或参数";
        case kErrOverflow:
            return u"溢出";
        case kErrOutOfMemory:
            return u"内存不足";
        case kErrSubscript:
            return u"下标越界";
        case kErrTypeMismatch:
            return u"类型不匹配";
        case kErrInternal:
            return u"内部错误";
        case kErrFileNotFound:
            return u"文件未找到";
        case kErrPathAccess:
            return u"路径/文件访问错误";
        case kErrInvalidPropertyValue:
            return u"无效的属性值";
        case kErrPortOpenOperation:
            return u"端口打开时此操作无效";
        case kErrInvalidPortNumber:
            return u"无效的端口号(端口号应为 1 到 16)";
        case kErrPortAlreadyOpen:
            return u"端口已经打开";
        case kErrPortInUse:
            return u"串口已被占用:可能有另一个程序(例如调制解调器管理程序)正在使用它";
        case kErrNoSuchDevice:
            return u"找不到串口设备:请检查设备是否已连接,或在程序文件夹中用 COM<n> 链接指向它";
        case kErrNotASerialPort:
            return u"该设备不是串口";
        case kErrDeviceNotOpen:
            return u"设备未打开";
        case kErrPermissionDenied:
            return u"没有访问串口的权限:请把用户加入 dialout 组后重新登录";
        case kErrSettingsRefused:
            return u"串口不接受这些设置";
        case kErrSerialIo:
            return u"串口读写出错";
        case kErrLinesNotReported:
            return u"该设备不能报告调制解调器线路状态";
        case kErrLineNotSet:
            return u"不能设置 DTR/RTS 线:该设备没有调制解调器控制线";
        case kErrLinkTargetMissing:
            return u"找不到串口设备:程序文件夹中的 COM<n> 链接指向的设备不存在";
        case kErrDeviceRemoved:
            return u"串口设备已被拔出或断开";
        default:
            return u"应用程序定义的错误或对象定义的错误";
    }
}

RuntimeError::RuntimeError(int number) : RuntimeError(number, StandardErrorText(number)) {}

RuntimeError::RuntimeError(int number, std::u16string text)
    : std::runtime_error("run-time error " + std::to_string(number)),
      number_(number),
      text_(std::move(text)) {}

void Raise(int number) {
    throw RuntimeError(number);
}

void Raise(int number, std::u16string text) {
    throw RuntimeError(number, std::move(text));
}

}  // namespace platform
