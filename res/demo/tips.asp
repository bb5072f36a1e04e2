<html><head><title>Qelmar3D 提示</title></head><body><pre>
勾选或输入每一位的数字，再点“生成直选号码”@#$http://example.com/qelmar3d/help.html
在删除投注区选好号码，点“删除确认”即可从投注列表中去掉@#$https://example.org/qelmar3d/delete.html
这一行没有分隔符，不算提示

输入几个数字后点“删除号码”，用这些数字拼成的号码都会删除@#$https://example.com/qelmar3d/spelled.html
这条提示没有链接，点击它不会打开网页@#$
“生成所有号码”列出000到999共1000个号码@#$http://example.org/qelmar3d/all.html
</pre></body></html>
