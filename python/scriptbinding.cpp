#pragma push_macro("slots")
#undef slots
#include <pybind11/embed.h>
#pragma pop_macro("slots")

#include "scriptbinding.h"

#include "pythonengine.h"
#include "pythonveskobject.h"
#include "pythonveskobjectawg.h"

#include <QCoreApplication>
#include <QMainWindow>
#include <QMetaMethod>
#include <QPointer>
#include <QThread>

#include <cmath>
#include <functional>
#include <string>

namespace py = pybind11;

namespace {

struct ObjectHandle
{
    QPointer<QObject> object;
};

struct VeskHandle
{
    QPointer<PythonVeskObject> object;
};

struct AwgHandle
{
    QPointer<PythonVeskObjectAWG> object;
};

// Widgets belong to the GUI thread, and a console that closed has deleted
// its objects: neither may be reached from a script then.
template <class T>
T *alive(const QPointer<T> &object)
{
    if (QThread::currentThread() != QCoreApplication::instance()->thread())
        throw std::runtime_error("Qt objects can only be used from the program's main thread");
    if (!object)
        throw std::runtime_error("the object no longer exists");
    return object.data();
}

double finiteNumber(double value)
{
    if (!std::isfinite(value))
        throw py::value_error("the value must be a finite number");
    return value;
}

unsigned long notNegative(long long value)
{
    if (value < 0)
        throw py::value_error("the time must not be negative");
    return static_cast<unsigned long>(value);
}

QObject *objectOf(py::handle handle)
{
    if (handle.is_none())
        return nullptr;
    if (py::isinstance<ObjectHandle>(handle))
        return alive(handle.cast<ObjectHandle &>().object);
    if (py::isinstance<VeskHandle>(handle))
        return alive(handle.cast<VeskHandle &>().object);
    if (py::isinstance<AwgHandle>(handle))
        return alive(handle.cast<AwgHandle &>().object);
    throw py::type_error("a Qt object or None was expected");
}

py::object toPython(const QVariant &value)
{
    if (!value.isValid())
        return py::none();
    const int type = value.userType();
    if (QMetaType::typeFlags(type) & QMetaType::PointerToQObject)
        return ScriptBinding::wrap(value.value<QObject *>());
    switch (type) {
    case QMetaType::Bool:
        return py::bool_(value.toBool());
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::Long:
    case QMetaType::Short:
    case QMetaType::UShort:
    case QMetaType::LongLong:
    case QMetaType::ULong:
    case QMetaType::ULongLong:
        return py::int_(value.toLongLong());
    case QMetaType::Double:
    case QMetaType::Float:
        return py::float_(value.toDouble());
    case QMetaType::QStringList: {
        py::list texts;
        for (const QString &text : value.toStringList())
            texts.append(py::cast(text));
        return std::move(texts);
    }
    default:
        break;
    }
    if (value.canConvert<QString>())
        return py::cast(value.toString());
    return py::none();
}

// A Python value as a Qt value of `type`; false when it does not fit.
bool fromPython(py::handle handle, int type, QVariant &result)
{
    if (QMetaType::typeFlags(type) & QMetaType::PointerToQObject) {
        QObject *object = nullptr;
        try {
            object = objectOf(handle);
        } catch (py::type_error &) {
            return false;
        }
        const QMetaObject *wanted = QMetaType::metaObjectForType(type);
        if (object && wanted && !object->metaObject()->inherits(wanted))
            return false;
        result = QVariant(type, &object);
        return true;
    }
    switch (type) {
    case QMetaType::Bool:
        result = QVariant(PyObject_IsTrue(handle.ptr()) == 1);
        return true;
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::Long:
    case QMetaType::ULong:
    case QMetaType::LongLong:
    case QMetaType::ULongLong:
    case QMetaType::Short:
    case QMetaType::UShort: {
        if (!PyLong_Check(handle.ptr()))
            return false;
        int overflow = 0;
        const long long number = PyLong_AsLongLongAndOverflow(handle.ptr(), &overflow);
        if (overflow)
            return false;
        result = QVariant(qlonglong(number));
        return result.convert(type);
    }
    case QMetaType::Double:
    case QMetaType::Float:
        if (!PyFloat_Check(handle.ptr()) && !PyLong_Check(handle.ptr()))
            return false;
        result = QVariant(PyFloat_AsDouble(handle.ptr()));
        if (PyErr_Occurred()) {
            PyErr_Clear();
            return false;
        }
        return result.convert(type);
    case QMetaType::QString:
        if (!PyUnicode_Check(handle.ptr()))
            return false;
        result = QVariant(handle.cast<QString>());
        return true;
    default:
        return false;
    }
}

// Deleting through a script would leave the window and the console with
// dangling pointers, so deletion is not offered.
bool offered(const QMetaMethod &method, const QByteArray &name)
{
    return method.name() == name && method.access() == QMetaMethod::Public
           && (method.methodType() == QMetaMethod::Slot || method.methodType() == QMetaMethod::Method)
           && name != "deleteLater";
}

bool hasMethod(const QObject *object, const QByteArray &name)
{
    const QMetaObject *meta = object->metaObject();
    for (int i = 0; i < meta->methodCount(); ++i) {
        if (offered(meta->method(i), name))
            return true;
    }
    return false;
}

py::object invoke(QObject *object, const QByteArray &name, const py::args &args)
{
    constexpr int maxArguments = 10;
    const QMetaObject *meta = object->metaObject();
    for (int i = meta->methodCount() - 1; i >= 0; --i) {
        const QMetaMethod method = meta->method(i);
        if (!offered(method, name) || method.parameterCount() != int(args.size()) || args.size() > maxArguments)
            continue;
        QVariant values[maxArguments];
        bool fits = true;
        for (int j = 0; j < method.parameterCount() && fits; ++j)
            fits = fromPython(args[j], method.parameterType(j), values[j]);
        if (!fits)
            continue;
        QGenericArgument arguments[maxArguments];
        for (int j = 0; j < method.parameterCount(); ++j)
            arguments[j] = QGenericArgument(QMetaType::typeName(method.parameterType(j)), values[j].data());
        QVariant result;
        QGenericReturnArgument returned;
        const int returnType = method.returnType();
        if (returnType != QMetaType::Void && returnType != QMetaType::UnknownType) {
            result = QVariant(returnType, nullptr);
            returned = QGenericReturnArgument(method.typeName(), result.data());
        }
        if (!method.invoke(object, Qt::DirectConnection, returned, arguments[0], arguments[1], arguments[2],
                           arguments[3], arguments[4], arguments[5], arguments[6], arguments[7], arguments[8],
                           arguments[9]))
            throw std::runtime_error("the call " + name.toStdString() + " failed");
        return toPython(result);
    }
    throw py::type_error(name.toStdString() + ": no public slot of " + meta->className()
                         + " takes these arguments");
}

py::object findChild(py::handle object, const QString &name)
{
    return ScriptBinding::wrap(PythonVeskObject::findNamedChild(objectOf(object), name));
}

py::object mainModule()
{
    return py::module_::import("__main__");
}

} // namespace

PYBIND11_EMBEDDED_MODULE(_vesk, m)
{
    py::class_<ObjectHandle>(m, "QObject")
        .def("className", [](ObjectHandle &h) { return QString::fromLatin1(alive(h.object)->metaObject()->className()); })
        .def("setProperty",
             [](ObjectHandle &h, const QString &name, py::handle value) {
                 QObject *object = alive(h.object);
                 const QMetaObject *meta = object->metaObject();
                 const int index = meta->indexOfProperty(name.toLatin1().constData());
                 QVariant converted;
                 if (index < 0 || !fromPython(value, meta->property(index).userType(), converted))
                     throw py::type_error("no writable property " + name.toStdString() + " of that type");
                 return meta->property(index).write(object, converted);
             })
        .def("__getattr__",
             [](ObjectHandle &h, const QString &name) -> py::object {
                 QObject *object = alive(h.object);
                 const QByteArray key = name.toLatin1();
                 if (object->metaObject()->indexOfProperty(key.constData()) >= 0)
                     return toPython(object->property(key.constData()));
                 if (!hasMethod(object, key))
                     throw py::attribute_error(name.toStdString());
                 QPointer<QObject> guarded(object);
                 return py::cpp_function([guarded, key](py::args args) { return invoke(alive(guarded), key, args); });
             })
        .def("__eq__",
             [](ObjectHandle &h, py::handle other) {
                 return py::isinstance<ObjectHandle>(other) && other.cast<ObjectHandle &>().object == h.object;
             })
        .def("__hash__", [](ObjectHandle &h) { return std::hash<const void *>()(h.object.data()); })
        .def("__repr__", [](ObjectHandle &h) {
            if (!h.object)
                return QStringLiteral("<deleted Qt object>");
            return QStringLiteral("<%1 '%2'>").arg(QLatin1String(h.object->metaObject()->className()),
                                                    h.object->objectName());
        });

    py::class_<VeskHandle>(m, "Vesk")
        .def("getMainModule", [](VeskHandle &h) { alive(h.object); return mainModule(); })
        .def("createWindow", [](VeskHandle &h) { return ScriptBinding::wrap(alive(h.object)->createWindow()); })
        .def("findChild", [](VeskHandle &h, py::handle o, const QString &name) { alive(h.object); return findChild(o, name); })
        .def("refresh",
             [](VeskHandle &h) {
                 PythonVeskObject *vesk = alive(h.object);
                 {
                     py::gil_scoped_release unlocked; // other Python threads may run meanwhile
                     vesk->refresh();
                 }
                 PythonEngine::instance()->raiseInterrupt();
             })
        .def("sleep",
             [](VeskHandle &h, long long sec) {
                 PythonVeskObject *vesk = alive(h.object);
                 const unsigned long seconds = notNegative(sec);
                 {
                     py::gil_scoped_release unlocked;
                     vesk->sleep(seconds);
                 }
                 PythonEngine::instance()->raiseInterrupt();
             })
        .def("msleep",
             [](VeskHandle &h, long long msec) {
                 PythonVeskObject *vesk = alive(h.object);
                 const unsigned long milliseconds = notNegative(msec);
                 {
                     py::gil_scoped_release unlocked;
                     vesk->msleep(milliseconds);
                 }
                 PythonEngine::instance()->raiseInterrupt();
             })
        .def("getVersion", [](VeskHandle &h) { return alive(h.object)->getVersion(); })
        .def("getBufferSize", [](VeskHandle &h) { return alive(h.object)->getBufferSize(); });

    py::class_<AwgHandle>(m, "VeskAWG")
        .def("getMainModule", [](AwgHandle &h) { alive(h.object); return mainModule(); })
        .def("findChild", [](AwgHandle &h, py::handle o, const QString &name) { alive(h.object); return findChild(o, name); })
        .def("setWaveformSquare", [](AwgHandle &h) { alive(h.object)->setWaveformSquare(); })
        .def("setWaveformSine", [](AwgHandle &h) { alive(h.object)->setWaveformSine(); })
        .def("setWaveformExpo", [](AwgHandle &h) { alive(h.object)->setWaveformExpo(); })
        .def("setWaveformTriangle", [](AwgHandle &h) { alive(h.object)->setWaveformTriangle(); })
        .def("setWaveformConstant", [](AwgHandle &h) { alive(h.object)->setWaveformConstant(); })
        .def("setWaveformCustom", [](AwgHandle &h) { alive(h.object)->setWaveformCustom(); })
        .def("setWaveformWhiteNoise", [](AwgHandle &h) { alive(h.object)->setWaveformWhiteNoise(); })
        .def("setWaveformPinkNoise", [](AwgHandle &h) { alive(h.object)->setWaveformPinkNoise(); })
        .def("setFrequency", [](AwgHandle &h, double f) { alive(h.object)->setFrequency(finiteNumber(f)); })
        .def("setLevelsAmplitude", [](AwgHandle &h, double val) { alive(h.object)->setLevelsAmplitude(finiteNumber(val)); })
        .def("setLevelsDutyCycle", [](AwgHandle &h, double val) { alive(h.object)->setLevelsDutyCycle(finiteNumber(val)); })
        .def("setLevelsOffset", [](AwgHandle &h, double val) { alive(h.object)->setLevelsOffset(finiteNumber(val)); })
        .def("setSweepEnabled", [](AwgHandle &h, bool enabled) { alive(h.object)->setSweepEnabled(enabled); })
        .def("setSweepTypeFrequency", [](AwgHandle &h) { alive(h.object)->setSweepTypeFrequency(); })
        .def("setSweepTypeAmplitude", [](AwgHandle &h) { alive(h.object)->setSweepTypeAmplitude(); })
        .def("setSweepTypeDutyCycle", [](AwgHandle &h) { alive(h.object)->setSweepTypeDutyCycle(); })
        .def("setSweepTypeOffset", [](AwgHandle &h) { alive(h.object)->setSweepTypeOffset(); })
        .def("setSweepDirectionRising", [](AwgHandle &h) { alive(h.object)->setSweepDirectionRising(); })
        .def("setSweepDirectionPingPong", [](AwgHandle &h) { alive(h.object)->setSweepDirectionPingPong(); })
        .def("setSweepDirectionFaling", [](AwgHandle &h) { alive(h.object)->setSweepDirectionFaling(); })
        .def("setSweepSpeed", [](AwgHandle &h, int val) { alive(h.object)->setSweepSpeed(val); })
        .def("setSweepStart", [](AwgHandle &h, double val) { alive(h.object)->setSweepStart(finiteNumber(val)); })
        .def("setSweepEnd", [](AwgHandle &h, double val) { alive(h.object)->setSweepEnd(finiteNumber(val)); });
}

namespace ScriptBinding {

py::object wrap(QObject *object)
{
    if (!object)
        return py::none();
    py::module_::import("_vesk");
    if (auto *vesk = qobject_cast<PythonVeskObject *>(object))
        return py::cast(VeskHandle{vesk});
    if (auto *awg = qobject_cast<PythonVeskObjectAWG *>(object))
        return py::cast(AwgHandle{awg});
    return py::cast(ObjectHandle{object});
}

} // namespace ScriptBinding
